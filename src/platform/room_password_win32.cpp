#include "platform/room_password.h"

#include <windows.h>

namespace platform {

std::string RoomPassword() {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    // RRF_RT_REG_SZ: a value of any other type is no password; the buffer keeps its terminator.
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ClumaDeck", "RoomPassword", RRF_RT_REG_SZ,
                       nullptr, text, &size) != ERROR_SUCCESS) {
        return std::string();
    }
    return FirstLine(text);
}

} // namespace platform
