#include "discovery/subnet_probe.h"

#include "discovery/module_directory.h"
#include "discovery/subnet_prefix.h"
#include "platform/net.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <vector>

namespace {

// Reads the agent's name: whatever has arrived within the wait, at most 64 bytes, of which
// the record keeps the first 63. The socket is non-blocking, so the first call that finds
// nothing waiting ends the read.
void ReceiveName(const ScanSettings& settings, const platform::Socket& socket, NodeRecord& record) {
    platform::Wait arrived = settings.waitForName
                                 ? settings.waitForName(socket, record.address, kProbeWaitMs)
                                 : platform::WaitReadable(socket, kProbeWaitMs);
    if (arrived != platform::Wait::ready) {
        return;
    }
    char received[sizeof record.name] = {};
    int total = 0;
    while (total < static_cast<int>(sizeof received)) {
        int got =
            platform::Receive(socket, received + total, static_cast<int>(sizeof received) - total);
        if (got <= 0) {
            break;
        }
        total += got;
    }
    std::memcpy(record.name, received, sizeof record.name - 1);
    record.name[sizeof record.name - 1] = '\0';
}

class SilentReporter : public ProbeErrorReporter {
public:
    void ShowProbeError(const char*) override {}
};

std::atomic<ProbeErrorReporter*> productReporter{nullptr};

} // namespace

std::optional<std::thread> StartStdThread(std::function<void()> body) {
    try {
        return std::thread(std::move(body));
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

void ProbeHostBlock(const ProbeContext& context, int blockOffset) {
    const ScanSettings& settings = *context.settings;
    for (int n = 1; n <= kHostsPerBlock; ++n) {
        int host = blockOffset + n;
        platform::Socket socket = platform::CreateTcpSocket();
        if (!socket.Valid()) {
            return;
        }
        char address[sizeof NodeRecord{}.address] = {};
        int length = std::snprintf(address, sizeof address, "%s.%d", context.prefix.c_str(), host);
        if (length < 0 || length >= static_cast<int>(sizeof address)) {
            return; // no such subnet; the prefix reader keeps this from happening
        }
        bool nonBlocking = settings.makeNonBlocking ? settings.makeNonBlocking(socket)
                                                    : platform::SetNonBlocking(socket, true);
        if (!nonBlocking) {
            if (settings.reporter != nullptr) {
                settings.reporter->ShowProbeError(kBlockModeFailedMessage);
            }
            return;
        }
        platform::StartConnect(socket, address, settings.port);
        if (platform::WaitWritable(socket, kProbeWaitMs) != platform::Wait::ready ||
            !platform::IsConnected(socket)) {
            continue; // no agent there
        }
        NodeRecord record;
        std::memset(&record, 0, sizeof record);
        std::memcpy(record.address, address, static_cast<std::size_t>(length));
        record.index = settings.registry->TakeIndex();
        ReceiveName(settings, socket, record);
        settings.registry->AppendIfNew(record);
        // Nothing is ever sent to the agent; the socket closes as the loop goes on.
    }
}

void ScanSubnet(const ScanSettings& settings) {
    settings.registry->Clear();
    SubnetPrefixReading reading = ReadSubnetPrefixFrom(settings.localAddressFile);
    PublishSubnetPrefix(reading.prefix);
    if (!reading.usable) {
        return; // the file names no subnet: nothing to probe
    }
    const ProbeContext context{&settings, reading.prefix};
    std::array<int, kProbeThreadCount> offsets{};
    for (int k = 0; k < kProbeThreadCount; ++k) {
        offsets[static_cast<std::size_t>(k)] = k * kHostsPerBlock;
    }
    std::vector<std::thread> started;
    for (int offset : offsets) {
        std::optional<std::thread> thread =
            settings.startThread([&context, offset] { ProbeHostBlock(context, offset); });
        if (thread) {
            started.push_back(std::move(*thread));
        }
    }
    for (std::thread& thread : started) {
        thread.join();
    }
}

void SetProbeErrorReporter(ProbeErrorReporter* reporter) {
    productReporter = reporter;
}

ScanSettings ProductScanSettings() {
    static SilentReporter silent;
    ScanSettings settings;
    settings.registry = &TheNodeRegistry();
    settings.localAddressFile = PathBesideModule(kLocalAddressFileName);
    ProbeErrorReporter* reporter = productReporter.load();
    settings.reporter = reporter != nullptr ? reporter : &silent;
    return settings;
}

void ScanSubnet() {
    ScanSubnet(ProductScanSettings());
}
