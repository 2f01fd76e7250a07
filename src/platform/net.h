// Thin sockets layer: one interface over Winsock and POSIX sockets.
//
// The probe, the agent and the push listener all speak plain TCP/IPv4; this header hides
// only what differs between the two socket APIs (handle type, non-blocking switch, error
// codes, how a finished connect is reported). Every socket is owned by a Socket object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

#if defined(_WIN32)
using NativeSocket = std::uintptr_t;
inline constexpr NativeSocket kInvalidSocket = ~NativeSocket(0); // INVALID_SOCKET
#else
using NativeSocket = int;
inline constexpr NativeSocket kInvalidSocket = -1;
#endif

// Starts the socket library (WSAStartup with the given version on Windows; nothing on POSIX).
// Returns false when the library cannot be started.
bool StartNetworking(int major, int minor);

// Undoes one successful StartNetworking (WSACleanup on Windows; nothing on POSIX).
void StopNetworking();

// Owns one socket handle and closes it when destroyed.
class Socket {
public:
    Socket() = default;
    explicit Socket(NativeSocket handle) : handle_(handle) {}
    ~Socket() { Close(); }
    Socket(Socket&& other) noexcept : handle_(other.Release()) {}
    Socket& operator=(Socket&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool Valid() const { return handle_ != kInvalid; }
    NativeSocket Native() const { return handle_; }
    NativeSocket Release() {
        NativeSocket handle = handle_;
        handle_ = kInvalid;
        return handle;
    }
    void Close();

    static constexpr NativeSocket kInvalid = kInvalidSocket;

private:
    NativeSocket handle_ = kInvalid;
};

enum class Wait { ready, timeout, failed };

// An IPv4 stream socket, or an invalid Socket when none can be created.
Socket CreateTcpSocket();

// Switches non-blocking mode on or off; false when the system refuses.
bool SetNonBlocking(const Socket& socket, bool on);

// Parses a dotted IPv4 text the way inet_addr does; false for a text that is no address
// (the all-ones result counts as no address, as INADDR_NONE does).
bool ParseIpv4(const char* text, std::uint32_t& networkOrder);

// Starts a TCP connection to address:port. The result says only whether the attempt could be
// started; whether it succeeds is learned by waiting for the socket to become writable.
bool StartConnect(const Socket& socket, const char* address, std::uint16_t port);

// Waits up to timeoutMs for the socket to become writable (write set only).
Wait WaitWritable(const Socket& socket, int timeoutMs);

// Waits up to timeoutMs for the socket to become readable (read set only).
Wait WaitReadable(const Socket& socket, int timeoutMs);

// One socket of a wait on several. After the wait, readable says whether it can be read
// without blocking: data, an orderly end or a failed connection; for a listening socket, a
// connection to accept.
struct SocketWatch {
    NativeSocket socket = kInvalidSocket;
    bool readable = false;
};

// Waits up to timeoutMs (without limit when negative) until one of the sockets is readable or
// in the exception set. ready: something woke the wait (when only the exception set did, none
// is readable); failed: a socket is invalid, there are more than one wait can watch (64 on
// Windows), or the wait failed (LastSocketError says why). A signal that interrupts the wait on
// POSIX ends it as a timeout.
Wait WaitAnyReadable(std::vector<SocketWatch>& watches, int timeoutMs);

// Waits for the socket to enter the read set or the exception set, without limit when
// timeoutMs is negative. On ready, readable says whether it is in the read set. A signal that
// interrupts the wait on POSIX does not end it.
Wait WaitReadableOrException(const Socket& socket, int timeoutMs, bool& readable);

// True when a connect that was started has completed: the socket has no pending error and a
// peer. A refused connect leaves a POSIX socket writable, so writability alone proves nothing.
bool IsConnected(const Socket& socket);

// recv/send without flags: bytes moved, 0 when the peer closed, -1 on error or "would block".
int Receive(const Socket& socket, char* buffer, int length);
int Send(const Socket& socket, const char* data, int length);

// Lets the peer see an orderly end of our sending side.
void ShutdownSend(const Socket& socket);

// A listening TCP socket on bindAddress:port (nullptr or "" for all addresses). On failure the
// Socket is invalid and error holds the system's error code.
Socket Listen(const char* bindAddress, std::uint16_t port, int backlog, int& error);

// Whether other sockets may bind the same port. plain: as the system allows by default.
// exclusive: no other socket may bind the port beside this one, whatever options it sets
// (Windows lets a socket with SO_REUSEADDR take a port bound without SO_EXCLUSIVEADDRUSE; on
// POSIX a port is shared only when every socket on it asks for reuse, so none is asked for).
enum class PortUse { plain, exclusive };

// Binds to address:port (nullptr or "" for all local addresses) with no address-reuse option.
// False with error set to the system's code when the address is taken or not this machine's.
bool Bind(const Socket& socket, const char* address, std::uint16_t port, int& error,
          PortUse use = PortUse::plain);

// Makes a bound socket a listening one; false with error set on failure.
bool StartListening(const Socket& socket, int backlog, int& error);

// Accepts one connection; peerAddress receives the peer's dotted address. Invalid on failure.
Socket Accept(const Socket& listener, std::string& peerAddress);

// The dotted local address a socket is bound to (for an accepted connection: the address of
// this machine that the peer reached), or an empty text when it cannot be learned.
std::string LocalAddress(const Socket& socket);

// Waits up to timeoutMs for a started connect to finish, watching both the write and the
// exception set (Winsock reports a refused connect only in the latter). ready: connected;
// failed: error holds the reason (refused, unreachable, ...); timeout: no answer in time.
Wait FinishConnect(const Socket& socket, int timeoutMs, int& error);

// True for the error codes meaning "nothing listens on that port" (the connection was refused).
bool IsConnectionRefused(int error);

// The local port a socket is bound to, 0 when unknown.
std::uint16_t LocalPort(const Socket& socket);

// This machine's host name, or an empty text when it cannot be learned.
std::string LocalHostName();

// The calling thread's last socket error code.
int LastSocketError();

// True for the error codes meaning "address already in use".
bool IsAddressInUse(int error);

// True for the error codes meaning "no such address on this machine" (for example an address
// that is not up yet at boot).
bool IsAddressNotAvailable(int error);

// A short English description of an error code.
std::string DescribeSocketError(int error);

} // namespace platform
