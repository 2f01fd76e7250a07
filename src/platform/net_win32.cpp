// Winsock behind platform/net.h.
#include "platform/net.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

namespace platform {

void Socket::Close() {
    if (handle_ != kInvalid) {
        ::closesocket(handle_);
        handle_ = kInvalid;
    }
}

bool StartNetworking(int major, int minor) {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(major, minor), &data) == 0;
}

void StopNetworking() {
    ::WSACleanup();
}

Socket CreateTcpSocket() {
    return Socket(::socket(AF_INET, SOCK_STREAM, 0));
}

bool SetNonBlocking(const Socket& socket, bool on) {
    u_long mode = on ? 1 : 0;
    return ::ioctlsocket(socket.Native(), FIONBIO, &mode) == 0;
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
    return result == 0 || ::WSAGetLastError() == WSAEWOULDBLOCK;
}

static Wait WaitFor(const Socket& socket, int timeoutMs, bool forWrite) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket.Native(), &set);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int count =
        ::select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout);
    if (count == SOCKET_ERROR) {
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
    if (watches.size() > FD_SETSIZE) {
        ::WSASetLastError(WSAEINVAL);
        return Wait::failed;
    }
    fd_set readSet;
    fd_set exceptionSet;
    FD_ZERO(&readSet);
    FD_ZERO(&exceptionSet);
    for (SocketWatch& watch : watches) {
        watch.readable = false;
        FD_SET(watch.socket, &readSet);
        FD_SET(watch.socket, &exceptionSet);
    }
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int count = ::select(0, &readSet, nullptr, &exceptionSet, timeoutMs < 0 ? nullptr : &timeout);
    if (count == SOCKET_ERROR) {
        return Wait::failed; // an invalid socket among them, too
    }
    if (count == 0) {
        return Wait::timeout;
    }
    for (SocketWatch& watch : watches) {
        watch.readable = FD_ISSET(watch.socket, &readSet) != 0;
    }
    return Wait::ready;
}

Wait WaitReadableOrException(const Socket& socket, int timeoutMs, bool& readable) {
    readable = false;
    fd_set readSet;
    fd_set writeSet;
    fd_set exceptionSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    FD_ZERO(&exceptionSet);
    FD_SET(socket.Native(), &readSet);
    FD_SET(socket.Native(), &exceptionSet);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int count = ::select(0, &readSet, &writeSet, &exceptionSet, timeoutMs < 0 ? nullptr : &timeout);
    if (count == SOCKET_ERROR) {
        return Wait::failed;
    }
    if (count == 0) {
        return Wait::timeout;
    }
    readable = FD_ISSET(socket.Native(), &readSet) != 0;
    return Wait::ready;
}

bool IsConnected(const Socket& socket) {
    int error = 0;
    int length = sizeof error;
    if (::getsockopt(socket.Native(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                     &length) != 0 ||
        error != 0) {
        return false;
    }
    sockaddr_in peer{};
    int peerLength = sizeof peer;
    return ::getpeername(socket.Native(), reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0;
}

int Receive(const Socket& socket, char* buffer, int length) {
    int got = ::recv(socket.Native(), buffer, length, 0);
    return got == SOCKET_ERROR ? -1 : got;
}

int Send(const Socket& socket, const char* data, int length) {
    int sent = ::send(socket.Native(), data, length, 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

void ShutdownSend(const Socket& socket) {
    ::shutdown(socket.Native(), SD_SEND);
}

Socket Listen(const char* bindAddress, std::uint16_t port, int backlog, int& error) {
    error = 0;
    Socket listener = CreateTcpSocket();
    if (!listener.Valid()) {
        error = ::WSAGetLastError();
        return listener;
    }
    // Without this another program could bind the same port with SO_REUSEADDR and take
    // our connections.
    BOOL exclusive = TRUE;
    ::setsockopt(listener.Native(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                 reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    if (!Bind(listener, bindAddress, port, error) || !StartListening(listener, backlog, error)) {
        return Socket();
    }
    return listener;
}

bool Bind(const Socket& socket, const char* address, std::uint16_t port, int& error, PortUse use) {
    error = 0;
    if (use == PortUse::exclusive) {
        BOOL exclusive = TRUE;
        if (::setsockopt(socket.Native(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                         reinterpret_cast<const char*>(&exclusive), sizeof exclusive) != 0) {
            error = ::WSAGetLastError();
            return false;
        }
    }
    std::uint32_t ip = htonl(INADDR_ANY);
    if (address != nullptr && *address != '\0' && !ParseIpv4(address, ip)) {
        error = WSAEINVAL;
        return false;
    }
    sockaddr_in local = MakeAddress(ip, port);
    if (::bind(socket.Native(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        error = ::WSAGetLastError();
        return false;
    }
    return true;
}

bool StartListening(const Socket& socket, int backlog, int& error) {
    error = 0;
    if (::listen(socket.Native(), backlog) != 0) {
        error = ::WSAGetLastError();
        return false;
    }
    return true;
}

Socket Accept(const Socket& listener, std::string& peerAddress) {
    sockaddr_in peer{};
    int length = sizeof peer;
    Socket accepted(::accept(listener.Native(), reinterpret_cast<sockaddr*>(&peer), &length));
    if (accepted.Valid()) {
        peerAddress = ::inet_ntoa(peer.sin_addr);
    }
    return accepted;
}

std::string LocalAddress(const Socket& socket) {
    sockaddr_in local{};
    int length = sizeof local;
    if (::getsockname(socket.Native(), reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
        local.sin_family != AF_INET) {
        return std::string();
    }
    return ::inet_ntoa(local.sin_addr);
}

Wait FinishConnect(const Socket& socket, int timeoutMs, int& error) {
    error = 0;
    fd_set writeSet;
    fd_set exceptionSet;
    FD_ZERO(&writeSet);
    FD_ZERO(&exceptionSet);
    FD_SET(socket.Native(), &writeSet);
    FD_SET(socket.Native(), &exceptionSet);
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int count = ::select(0, nullptr, &writeSet, &exceptionSet, &timeout);
    if (count == SOCKET_ERROR) {
        error = ::WSAGetLastError();
        return Wait::failed;
    }
    if (count == 0) {
        return Wait::timeout;
    }
    int length = sizeof error;
    if (::getsockopt(socket.Native(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                     &length) != 0) {
        error = ::WSAGetLastError();
        return Wait::failed;
    }
    if (error != 0) {
        return Wait::failed;
    }
    if (!IsConnected(socket)) {
        error = WSAENOTCONN;
        return Wait::failed;
    }
    return Wait::ready;
}

bool IsConnectionRefused(int error) {
    return error == WSAECONNREFUSED;
}

std::uint16_t LocalPort(const Socket& socket) {
    sockaddr_in local{};
    int length = sizeof local;
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
    return ::WSAGetLastError();
}

bool IsAddressInUse(int error) {
    return error == WSAEADDRINUSE;
}

bool IsAddressNotAvailable(int error) {
    return error == WSAEADDRNOTAVAIL;
}

std::string DescribeSocketError(int error) {
    char text[256] = {};
    DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        text[--length] = '\0';
    }
    return length > 0 ? std::string(text) : "socket error " + std::to_string(error);
}

} // namespace platform
