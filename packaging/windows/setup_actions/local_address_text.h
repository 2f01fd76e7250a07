// What the console's installer writes into a new localIp.txt: the address given to it as the
// LOCALIP property, followed by one space, exactly as the "set ip" dialog writes the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The file's text for the property's value: "" for no value (an empty file, for "set ip" to
// fill in), "A.B.C.D " for four numbers of 0 to 255 with one to three digits each, separated
// by single dots; nullopt for anything else (spaces, a name, a fifth number, a sign).
std::optional<std::string> LocalAddressFileText(std::string_view property);
