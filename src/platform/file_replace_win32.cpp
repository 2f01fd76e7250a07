#include "platform/file_replace.h"

#include <windows.h>

namespace platform {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    // Fails, keeping target, when it is read-only or held open by another program.
    return ::MoveFileExA(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

} // namespace platform
