// What the "set ip" dialog tells the presenter when the local address file lets it down.
#pragma once

#include "discovery/local_address_file.h"

#include <string>

// The report for a file that cannot be read or written, naming the file; empty for ok.
std::string DescribeLocalAddressProblem(LocalAddressFileStatus status, const std::string& path,
                                        bool whileSaving);

inline constexpr const char* kLocalAddressSavedMessage =
    "setting successfully,you should restart to make it effective";
