#include "platform/file_replace.h"

#include <cstdio>

namespace platform {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

} // namespace platform
