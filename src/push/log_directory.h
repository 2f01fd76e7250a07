// Where the day log goes.
#pragma once

#include <cstddef>

inline constexpr std::size_t kLogDirectorySize = 256;
inline constexpr char kProductLogDirectory[] = "c:\\log";

// The day log's directory: empty at process start; start-up copies "c:\log" into it before
// any other thread of the system starts, and from then on it is only read.
extern char LogDirectory[kLogDirectorySize];
