#include "platform/room_password.h"

#include <fstream>
#include <iterator>

namespace platform {

std::string RoomPassword() {
    std::ifstream file("/etc/cluma-agent/room-password", std::ios::binary);
    if (!file) {
        return std::string();
    }
    // A password file is one short line; a longer one is cut rather than read whole.
    std::string text(256, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return FirstLine(text);
}

} // namespace platform
