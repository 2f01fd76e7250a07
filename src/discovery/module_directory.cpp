#include "discovery/module_directory.h"

#include "platform/module_path.h"

#include <cstring>

void GetModuleDirectory(char (&buffer)[kPathBufferSize]) {
    std::memset(buffer, 0, sizeof buffer);
    std::string path = platform::ModuleFilePath();
    if (path.size() >= sizeof buffer) {
        return;
    }
    std::memcpy(buffer, path.data(), path.size());
    if (char* last = std::strrchr(buffer, platform::kPathSeparator)) {
        *last = '\0';
    }
}

std::string PathBesideModule(const char* fileName) {
    char directory[kPathBufferSize];
    GetModuleDirectory(directory);
    return std::string(directory) + platform::kPathSeparator + fileName;
}
