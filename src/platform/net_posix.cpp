// POSIX sockets behind platform/net.h.
#include "platform/net.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

void Socket::Close() {
    if (handle_ != kInvalid) {
        ::close(handle_);
        handle_ = kInvalid;
    }
}

bool StartNetworking(int, int) {
    return true;
}

void StopNetworking() {}

Socket CreateTcpSocket() {
    // Close-on-exec: the demo and the tests start child programs, which must not inherit
    // a probe's or a listener's socket.
    return Socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

bool SetNonBlocking(const Socket& socket, bool on) {
    int flags = ::fcntl(socket.Native(), F_GETFL, 0);
    if (flags < 0) {
        return false;
    }
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(socket.Native(), F_SETFL, flags) == 0;
}

bool ParseIpv4(const char* text, std::uint32_t& networkOrder) {
    networkOrder = ::inet_addr(text);
    return networkOrder != INADDR_NONE;
}

static sockaddr_in MakeAddress(std::uint32_t networkOrder, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = networkOrder;
    return address;
}

bool StartConnect(const Socket& socket, const char* address, std::uint16_t port) {
    std::uint32_t ip = 0;
    if (!ParseIpv4(address, ip)) {
        return false; // no such address: nothing is sent anywhere, the wait finds no connection
    }
    sockaddr_in target = MakeAddress(ip, port);
    int result = ::connect(socket.Native(), reinterpret_cast<sockaddr*>(&target), sizeof target);
    return result == 0 || errno == EINPROGRESS;
}

static Wait WaitFor(const Socket& socket, int timeoutMs, bool forWrite) {
    if (socket.Native() >= FD_SETSIZE) {
        return Wait::failed;
    }
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket.Native(), &set);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int count = ::select(socket.Native() + 1, forWrite ? nullptr : &set, forWrite ? &set : nullptr,
                         nullptr, &timeout);
    if (count < 0) {
        return Wait::failed;
    }
    return count > 0 && FD_ISSET(socket.Native(), &set) ? Wait::ready : Wait::timeout;
}

Wait WaitWritable(const Socket& socket, int timeoutMs) {
    return WaitFor(socket, timeoutMs, true);
}

Wait WaitReadable(const Socket& socket, int timeoutMs) {
    return WaitFor(socket, timeoutMs, false);
}

Wait WaitAnyReadable(std::vector<SocketWatch>& watches, int timeoutMs) {
    std::vector<pollfd> polled(watches.size());
    for (std::size_t i = 0; i < watches.size(); ++i) {
        watches[i].readable = false;
        if (watches[i].socket < 0) {
            errno = EBADF; // poll would skip it and could wait for ever
            return Wait::failed;
        }
        polled[i] = pollfd{watches[i].socket, POLLIN | POLLPRI, 0};
    }
    int count = ::poll(polled.data(), polled.size(), timeoutMs < 0 ? -1 : timeoutMs);
    if (count < 0) {
        return errno == EINTR ? Wait::timeout : Wait::failed;
    }
    if (count == 0) {
        return Wait::timeout;
    }
    for (std::size_t i = 0; i < watches.size(); ++i) {
        if (polled[i].revents & POLLNVAL) {
            errno = EBADF;
            return Wait::failed;
        }
        watches[i].readable = (polled[i].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
    }
    return Wait::ready;
}

Wait WaitReadableOrException(const Socket& socket, int timeoutMs, bool& readable) {
    readable = false;
    if (socket.Native() < 0 || socket.Native() >= FD_SETSIZE) {
        errno = EBADF;
        return Wait::failed;
    }
    for (;;) {
        fd_set readSet;
        fd_set writeSet;
        fd_set exceptionSet;
        FD_ZERO(&readSet);
        FD_ZERO(&writeSet);
        FD_ZERO(&exceptionSet);
        FD_SET(socket.Native(), &readSet);
        FD_SET(socket.Native(), &exceptionSet);
        timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        int count = ::select(socket.Native() + 1, &readSet, &writeSet, &exceptionSet,
                             timeoutMs < 0 ? nullptr : &timeout);
        if (count < 0 && errno == EINTR) {
            continue; // a signal for someone else; Winsock has no such case
        }
        if (count < 0) {
            return Wait::failed;
        }
        if (count == 0) {
            return Wait::timeout;
        }
        readable = FD_ISSET(socket.Native(), &readSet);
        return Wait::ready;
    }
}

bool IsConnected(const Socket& socket) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket.Native(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        return false;
    }
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    return ::getpeername(socket.Native(), reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

int Receive(const Socket& socket, char* buffer, int length) {
    ssize_t got = ::recv(socket.Native(), buffer, static_cast<size_t>(length), 0);
    return got < 0 ? -1 : static_cast<int>(got);
}

int Send(const Socket& socket, const char* data, int length) {
    ssize_t sent = ::send(socket.Native(), data, static_cast<size_t>(length), MSG_NOSIGNAL);
    return sent < 0 ? -1 : static_cast<int>(sent);
}

void ShutdownSend(const Socket& socket) {
    ::shutdown(socket.Native(), SHUT_WR);
}

Socket Listen(const char* bindAddress, std::uint16_t port, int backlog, int& error) {
    error = 0;
    Socket listener = CreateTcpSocket();
    if (!listener.Valid()) {
        error = errno;
        return listener;
    }
    // Lets a restarted listener take its port back while old connections sit in TIME_WAIT;
    // on Linux it never lets two listeners share a port.
    int yes = 1;
    ::setsockopt(listener.Native(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (!Bind(listener, bindAddress, port, error) || !StartListening(listener, backlog, error)) {
        return Socket();
    }
    return listener;
}

bool Bind(const Socket& socket, const char* address, std::uint16_t port, int& error, PortUse use) {
    error = 0;
    if (use == PortUse::exclusive) {
        int no = 0;
        if (::setsockopt(socket.Native(), SOL_SOCKET, SO_REUSEADDR, &no, sizeof no) != 0 ||
            ::setsockopt(socket.Native(), SOL_SOCKET, SO_REUSEPORT, &no, sizeof no) != 0) {
            error = errno;
            return false;
        }
    }
    std::uint32_t ip = htonl(INADDR_ANY);
    if (address != nullptr && *address != '\0' && !ParseIpv4(address, ip)) {
        error = EINVAL;
        return false;
    }
    sockaddr_in local = MakeAddress(ip, port);
    if (::bind(socket.Native(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        error = errno;
        return false;
    }
    return true;
}

bool StartListening(const Socket& socket, int backlog, int& error) {
    error = 0;
    if (::listen(socket.Native(), backlog) != 0) {
        error = errno;
        return false;
    }
    return true;
}

Socket Accept(const Socket& listener, std::string& peerAddress) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    Socket accepted(
        ::accept4(listener.Native(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC));
    if (accepted.Valid()) {
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        peerAddress = text;
    }
    return accepted;
}

std::string LocalAddress(const Socket& socket) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(socket.Native(), reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
        local.sin_family != AF_INET) {
        return std::string();
    }
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &local.sin_addr, text, sizeof text);
    return text;
}

Wait FinishConnect(const Socket& socket, int timeoutMs, int& error) {
    error = 0;
    // A refused or failed connect leaves a POSIX socket writable with SO_ERROR set.
    Wait wait = WaitWritable(socket, timeoutMs);
    if (wait != Wait::ready) {
        error = wait == Wait::failed ? errno : 0;
        return wait;
    }
    socklen_t length = sizeof error;
    if (::getsockopt(socket.Native(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
        return Wait::failed;
    }
    if (error != 0) {
        return Wait::failed;
    }
    if (!IsConnected(socket)) {
        error = ENOTCONN;
        return Wait::failed;
    }
    return Wait::ready;
}

bool IsConnectionRefused(int error) {
    return error == ECONNREFUSED;
}

std::uint16_t LocalPort(const Socket& socket) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(socket.Native(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

std::string LocalHostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return std::string();
    }
    return name;
}

int LastSocketError() {
    return errno;
}

bool IsAddressInUse(int error) {
    return error == EADDRINUSE;
}

bool IsAddressNotAvailable(int error) {
    return error == EADDRNOTAVAIL;
}

std::string DescribeSocketError(int error) {
    return std::strerror(error);
}

} // namespace platform
