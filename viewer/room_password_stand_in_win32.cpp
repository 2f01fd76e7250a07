#include "viewer/room_password_stand_in.h"

#include <windows.h>

std::string RoomPassword() {
    char value[256] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ClumaDeck", "RoomPassword", RRF_RT_REG_SZ,
                       nullptr, value, &size) != ERROR_SUCCESS) {
        return "";
    }
    return std::string(value);
}
