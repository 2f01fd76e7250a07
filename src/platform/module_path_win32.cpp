#include "platform/module_path.h"

#include <windows.h>

namespace platform {

std::string ModuleFilePath() {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path that fills the whole buffer has been cut short and names nothing.
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

} // namespace platform
