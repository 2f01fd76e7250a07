// The room password: the secret a school gives both packages at installation so that watching a
// PC needs more than the fixed password every copy of the console knows. When it is set, the
// viewer and the screen server both use it in place of the fixed one.
#pragma once

#include <string>

namespace platform {

// Windows: HKLM\SOFTWARE\ClumaDeck, value "RoomPassword" (written by the installers).
// Linux: the first line of /etc/cluma-agent/room-password.
// Empty when none is set or it cannot be read.
std::string RoomPassword();

// The first line of a stored password's text, without its line end.
inline std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace platform
