// Where the running program lives.
#pragma once

#include <string>

namespace platform {

// The separator between a directory and a name on this system.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The full path of the running executable, or an empty text when it cannot be learned.
std::string ModuleFilePath();

} // namespace platform
