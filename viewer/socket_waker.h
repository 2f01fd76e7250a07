// A second handle on a connected socket, through which another thread ends every wait on the
// socket at once (shutdown in both directions), whoever owns and closes the first handle: the
// library closes its socket on its own schedule, and the second handle keeps the socket alive,
// so the shutdown never reaches a reused handle value.
#pragma once

#include "platform/net.h"

class SocketWaker {
public:
    SocketWaker() = default;
    explicit SocketWaker(platform::NativeSocket socket);
    ~SocketWaker();
    SocketWaker(const SocketWaker&) = delete;
    SocketWaker& operator=(const SocketWaker&) = delete;

    bool Valid() const { return second_ != platform::kInvalidSocket; }
    // Shuts the socket down both ways: reads see its end, waits on it return.
    void Wake();

private:
    platform::NativeSocket second_ = platform::kInvalidSocket;
};
