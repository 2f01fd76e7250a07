// The subnet probe: a TCP connection to port 12357 of every host of the console's /24 subnet,
// 16 threads at once; each agent that answers sends its display name and is recorded.
#pragma once

#include "discovery/node_registry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace platform {
class Socket;
enum class Wait;
} // namespace platform

inline constexpr std::uint16_t kProbePort = 12357;
inline constexpr int kProbeWaitMs = 50;      // for the connection, then again for the name
inline constexpr int kProbeThreadCount = 16; // each probes a block of 16 host numbers
inline constexpr int kHostsPerBlock = 16;
inline constexpr const char* kBlockModeFailedMessage = "socket setup block mode failed\n";

// How a probe thread tells the presenter that it cannot go on; the console shows a message
// box, and the thread waits until it has been closed.
class ProbeErrorReporter {
public:
    virtual ~ProbeErrorReporter() = default;
    virtual void ShowProbeError(const char* message) = 0;
};

// Starts a thread, or gives nothing when the system cannot start one.
using ThreadStarter = std::function<std::optional<std::thread>(std::function<void()>)>;
std::optional<std::thread> StartStdThread(std::function<void()> body);

// Everything one scan needs; the product's scan uses the process-wide registry, the local
// address file beside the executable and port 12357.
struct ScanSettings {
    NodeRegistry* registry = nullptr;
    std::string localAddressFile;
    std::uint16_t port = kProbePort;
    ProbeErrorReporter* reporter = nullptr;
    ThreadStarter startThread = StartStdThread;
    // Switches a probe socket to non-blocking mode; replaced in tests to see a refusal.
    std::function<bool(const platform::Socket&)> makeNonBlocking;
    // Waits up to timeoutMs for the name of the agent at address to arrive on the socket (the
    // socket's own wait when empty). Tests replace it with a clock of their own: whether their
    // agent answered in time must not depend on how soon the system ran the agent's thread.
    std::function<platform::Wait(const platform::Socket&, const char* address, int timeoutMs)>
        waitForName;
};

// What a probe thread works with: settings fixed for the scan plus the prefix read at its start.
struct ProbeContext {
    const ScanSettings* settings;
    std::string prefix;
};

// Probes hosts blockOffset+1 to blockOffset+16 in order.
void ProbeHostBlock(const ProbeContext& context, int blockOffset);

// One complete scan: empties the registry, reads the prefix, probes with 16 threads and
// returns when every thread that started has ended.
void ScanSubnet(const ScanSettings& settings);

// The product's scan and its pieces, on the process-wide state.
void SetProbeErrorReporter(ProbeErrorReporter* reporter);
ScanSettings ProductScanSettings();
void ScanSubnet();
