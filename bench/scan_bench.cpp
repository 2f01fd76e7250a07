// One scan of 127.0.0.0/24 with 0, 16 and 255 agents answering, wall and CPU time per scan.
// The agents run in this process (the agent's own serving code, one thread each), so the CPU
// figure includes theirs.
#include "agent/agent_serve.h"
#include "bench_support.h"
#include "discovery/subnet_probe.h"
#include "platform/net.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::uint16_t FreePort() {
    int error = 0;
    platform::Socket probe = platform::Listen("127.0.0.1", 0, 1, error);
    return platform::LocalPort(probe);
}

// agentCount agents spread over the host numbers 1 to 255.
void RunCase(int agentCount, int runs, const std::string& addressFile) {
    std::uint16_t port = FreePort();
    std::atomic<bool> stop{false};
    std::vector<std::thread> agents;
    std::ostringstream quiet;
    std::vector<std::unique_ptr<std::ostringstream>> sinks;
    for (int i = 0; i < agentCount; ++i) {
        int host = agentCount >= 255 ? i + 1 : 1 + i * (255 / agentCount);
        ServeSettings serve;
        serve.name = "bench-" + std::to_string(host);
        serve.bindAddress = "127.0.0." + std::to_string(host);
        serve.port = port;
        sinks.push_back(std::make_unique<std::ostringstream>());
        std::ostringstream* sink = sinks.back().get();
        agents.emplace_back([serve, &stop, sink] { ServeProbes(serve, stop, *sink, *sink); });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let every agent listen

    NodeRegistry registry;
    ScanSettings settings;
    settings.registry = &registry;
    settings.localAddressFile = addressFile;
    settings.port = port;
    std::size_t found = 0;
    auto samples = bench::Measure(runs, [&] {
        ScanSubnet(settings);
        found = registry.Count();
    });
    char label[64];
    std::snprintf(label, sizeof label, "scan, %d agents (found %zu)", agentCount, found);
    bench::Report(label, samples);
    stop = true;
    for (std::thread& agent : agents) {
        agent.join();
    }
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    if (!platform::StartNetworking(2, 2)) {
        std::fprintf(stderr, "network unavailable\n");
        return 1;
    }
    std::string addressFile = "scan_bench_localIp.txt";
    std::ofstream(addressFile, std::ios::binary) << "127.0.0.1 ";
    for (int agents : {0, 16, 255}) {
        RunCase(agents, runs, addressFile);
    }
    std::remove(addressFile.c_str());
    return 0;
}
