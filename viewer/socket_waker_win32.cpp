#include "viewer/socket_waker.h"

#include <winsock2.h>

SocketWaker::SocketWaker(platform::NativeSocket socket) {
    WSAPROTOCOL_INFOA info{};
    if (::WSADuplicateSocketA(static_cast<SOCKET>(socket), ::GetCurrentProcessId(), &info) == 0) {
        SOCKET second =
            ::WSASocketA(FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO, &info, 0, 0);
        second_ = second == INVALID_SOCKET ? platform::kInvalidSocket
                                           : static_cast<platform::NativeSocket>(second);
    }
}

SocketWaker::~SocketWaker() {
    if (Valid()) {
        ::closesocket(static_cast<SOCKET>(second_));
    }
}

void SocketWaker::Wake() {
    if (Valid()) {
        ::shutdown(static_cast<SOCKET>(second_), SD_BOTH);
    }
}
