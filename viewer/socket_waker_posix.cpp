#include "viewer/socket_waker.h"

#include <sys/socket.h>
#include <unistd.h>

SocketWaker::SocketWaker(platform::NativeSocket socket) : second_(::dup(socket)) {}

SocketWaker::~SocketWaker() {
    if (Valid()) {
        ::close(second_);
    }
}

void SocketWaker::Wake() {
    if (Valid()) {
        ::shutdown(second_, SHUT_RDWR);
    }
}
