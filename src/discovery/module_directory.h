// Files the system reads or starts are found beside its executable.
#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kPathBufferSize = 260;

// Writes the executable's directory, without a trailing separator, into a 260-byte buffer.
// A path without any separator stays whole; a path that does not fit gives an empty text.
void GetModuleDirectory(char (&buffer)[kPathBufferSize]);

// The executable's directory joined with a file name, e.g. the local address file.
std::string PathBesideModule(const char* fileName);
