// cluma-scan: runs one probe of the subnet named by a local address file and prints the
// machines found, as the console would list them.
#include "discovery/module_directory.h"
#include "discovery/subnet_prefix.h"
#include "discovery/subnet_probe.h"
#include "platform/net.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class PrintingReporter : public ProbeErrorReporter {
public:
    void ShowProbeError(const char* message) override { std::fprintf(stderr, "%s", message); }
};

void PrintUsage() {
    std::printf("Usage: cluma-scan [--address-file PATH] [--port PORT]\n"
                "Probes the /24 subnet of the address in PATH (default: localIp.txt beside\n"
                "this program) and lists the machines whose agent answered.\n");
}

// Names are the agent's raw bytes; show line ends and other control bytes visibly.
std::string Printable(const char* name) {
    std::string shown;
    for (const char* c = name; *c != '\0'; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += *c;
        }
    }
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    ScanSettings settings = ProductScanSettings();
    PrintingReporter reporter;
    settings.reporter = &reporter;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--address-file") == 0 && i + 1 < argc) {
            settings.localAddressFile = argv[++i];
        } else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            settings.port = static_cast<std::uint16_t>(std::atoi(argv[++i]));
        } else {
            PrintUsage();
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 64;
        }
    }
    if (!platform::StartNetworking(2, 2)) {
        std::fprintf(stderr, "cluma-scan: the network could not be started\n");
        return 1;
    }
    SubnetPrefixReading reading = ReadSubnetPrefixFrom(settings.localAddressFile);
    if (!reading.usable || reading.prefix.empty()) {
        std::fprintf(stderr, "cluma-scan: %s names no subnet; nothing found\n",
                     settings.localAddressFile.c_str());
    }
    auto start = std::chrono::steady_clock::now();
    ScanSubnet(settings);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("Scanned %s.1 to %s.256 on port %u in %lld ms:\n", reading.prefix.c_str(),
                reading.prefix.c_str(), settings.port, static_cast<long long>(elapsed.count()));
    int found = 0;
    settings.registry->ForEach([&found](const NodeRecord& record) {
        std::printf("  %-16s %s\n", record.address, Printable(record.name).c_str());
        ++found;
    });
    std::printf("%d machine(s) found.\n", found);
    return 0;
}
