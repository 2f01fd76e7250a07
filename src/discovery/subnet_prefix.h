// The subnet the probe scans: the first three numbers of the console's own address, taken
// from the local address file beside the executable.
#pragma once

#include <cstddef>
#include <string>

inline constexpr const char* kLocalAddressFileName = "localIp.txt";

// The longest prefix for which every "prefix.h" (h up to 256) fits the 31 characters of a
// record's address.
inline constexpr std::size_t kMaxSubnetPrefixLength = 31 - 4;

// What reading the local address file gave.
struct SubnetPrefixReading {
    std::string prefix; // everything before the first line's last dot; empty when none
    bool usable = true; // false when the line cannot name a subnet: nothing is probed then
};

// Reads the first line of the file (any length; a LF or CR LF end is not part of it) and cuts
// it before its last dot. A missing or unreadable file gives an empty prefix. A line holding a
// zero byte, or whose prefix is longer than kMaxSubnetPrefixLength, is not usable.
SubnetPrefixReading ReadSubnetPrefixFrom(const std::string& path);

// The process-wide prefix of the current scan, set at the start of every scan before the
// probe threads start; they only read it.
std::string SubnetPrefix();
void PublishSubnetPrefix(const std::string& prefix);

// Sets SubnetPrefix from the local address file beside the executable. Returns whether the
// prefix is usable.
bool ReadSubnetPrefix();
