// The encoding word of the command line -> the list of encodings libvncclient asks the server
// for, best first.
#pragma once

#include <string>

// The list for the word: a lossless encoding the library offers without JPEG first, then the
// rest of the default list. "ultra2" (what the console passes) and every word the library does
// not know give the default list, kDefaultEncodings.
std::string EncodingsForWord(const std::string& word);

// ZRLE first: lossless, zlib-compressed runs and palettes that suit desktop content well, and it
// needs only zlib, which every build of the viewer carries. Tight is left out: its good mode
// needs libjpeg, which the Windows build does not link, and without it Tight is no better than
// ZRLE. "ultra2" is no encoding libvncclient knows (its Ultra needs LZO and loses to ZRLE on a
// LAN). CopyRect moves windows for the cost of a rectangle; Hextile serves servers without zlib;
// Raw works with every server.
inline constexpr const char* kDefaultEncodings = "copyrect zrle hextile raw";
