#include "framework/AppName.h"

#include <windows.h>

std::string AppNameFromModulePath(std::string_view modulePath) {
    const size_t separator = modulePath.find_last_of("\\/");
    std::string_view fileName =
        separator == std::string_view::npos ? modulePath : modulePath.substr(separator + 1);
    const size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos) {
        fileName = fileName.substr(0, dot);
    }
    return std::string(fileName);
}

std::string RunningModulePath() {
    // GetModuleFileNameA truncates silently to the buffer; grow until the path fits.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return {};
}
