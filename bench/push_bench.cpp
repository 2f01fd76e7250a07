// Push requests served per second through the listener, with a prompt that answers Yes at
// once: the listener's own cost per request (accept, look-up, one receive, close, queue,
// compose, ask, launch), with one node sending one request after another and with 50 nodes at
// once. A node sends its next request once its last has been launched: the console keeps one
// request per node and drops a node's further ones until the presenter has answered.
#include "bench_support.h"
#include "discovery/node_registry.h"
#include "platform/net.h"
#include "push/push_listener.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

namespace {

class AnsweringPrompt : public PushPrompt {
public:
    bool AskPresenter(const char*) override {
        ++asked;
        return true;
    }
    std::atomic<long> asked{0};
};

// Standard output's stand-in: takes the diagnostic lines and drops them.
class DiscardingBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// The viewer launches per node, by the last number of the node's address.
class LaunchCounter {
public:
    void Launched(const char* address) {
        const char* last = std::strrchr(address, '.');
        std::lock_guard<std::mutex> hold(lock_);
        ++launches_[last != nullptr ? std::atoi(last + 1) : 0];
        ++total_;
        changed_.notify_all();
    }
    bool WaitFor(int host, long count) {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::seconds(30),
                                 [&] { return launches_[host] >= count; });
    }
    long Total() {
        std::lock_guard<std::mutex> hold(lock_);
        return total_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    long launches_[256] = {};
    long total_ = 0;
};

// One request as a node sends it: connect, send the reason, wait until the console closes.
bool SendRequest(std::uint16_t port, const char* source, const char* reason) {
    platform::Socket socket = platform::CreateTcpSocket();
    int error = 0;
    if (!platform::Bind(socket, source, 0, error) || !platform::SetNonBlocking(socket, true)) {
        return false;
    }
    platform::StartConnect(socket, "127.0.0.1", port);
    if (platform::WaitWritable(socket, 30000) != platform::Wait::ready ||
        !platform::IsConnected(socket)) {
        return false;
    }
    int length = static_cast<int>(std::strlen(reason));
    if (platform::Send(socket, reason, length) != length) {
        return false;
    }
    char ignored[16];
    return platform::WaitReadable(socket, 30000) == platform::Wait::ready &&
           platform::Receive(socket, ignored, sizeof ignored) <= 0;
}

void RunCase(int nodes, int requestsPerNode, int runs) {
    NodeRegistry registry;
    for (int node = 0; node < nodes; ++node) {
        NodeRecord record{};
        std::snprintf(record.address, sizeof record.address, "127.0.0.%d", 100 + node);
        std::snprintf(record.name, sizeof record.name, "Bench PC %d", node);
        registry.AppendIfNew(record);
    }
    AnsweringPrompt prompt;
    LaunchCounter launched;
    DiscardingBuffer discard;
    std::ostream diagnostics(&discard);
    std::atomic<bool> stop{false};
    PushListenerSettings settings;
    settings.port = 0; // the system's choice, never the product's
    settings.bindAddress = "127.0.0.1";
    settings.registry = &registry;
    settings.prompt = &prompt;
    settings.launchViewer = [&launched](const char* address) { launched.Launched(address); };
    settings.diagnostics = &diagnostics;
    settings.stop = &stop;
    platform::Socket listener = OpenPushListener(settings);
    if (!listener.Valid()) {
        std::fprintf(stderr, "cannot listen\n");
        std::exit(1);
    }
    const std::uint16_t port = platform::LocalPort(listener);
    std::thread serving([&] { ServePushRequests(listener, settings); });

    std::atomic<int> failures{0};
    long round = 0;
    auto samples = bench::Measure(runs, [&] {
        std::vector<std::thread> senders;
        for (int node = 0; node < nodes; ++node) {
            senders.emplace_back([&, node] {
                std::string source = "127.0.0." + std::to_string(100 + node);
                for (int request = 0; request < requestsPerNode; ++request) {
                    if (!SendRequest(port, source.c_str(), "please look at my screen") ||
                        !launched.WaitFor(100 + node, round + request + 1)) {
                        ++failures;
                    }
                }
            });
        }
        for (std::thread& sender : senders) {
            sender.join();
        }
        round += requestsPerNode;
    });

    stop = true;
    {
        platform::Socket wake = platform::CreateTcpSocket();
        platform::StartConnect(wake, "127.0.0.1", port);
        serving.join();
    }
    const long total = static_cast<long>(nodes) * requestsPerNode;
    char label[96];
    std::snprintf(label, sizeof label, "%d node(s) x %d requests", nodes, requestsPerNode);
    bench::Report(label, samples);
    std::vector<double> wall;
    for (const bench::Sample& sample : samples) {
        wall.push_back(sample.wallMs);
    }
    std::printf("    %.0f requests/s (median); asked %ld of %ld, launched %ld, failed %d\n",
                total / (bench::Median(wall) / 1000.0), prompt.asked.load(), total * runs,
                launched.Total(), failures.load());
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    int requests = argc > 2 ? std::atoi(argv[2]) : 2000;
    if (runs < 1 || requests < 50) {
        std::fprintf(stderr, "usage: push_bench [RUNS] [REQUESTS, at least 50]\n");
        return 64;
    }
    if (!platform::StartNetworking(2, 2)) {
        std::fprintf(stderr, "network unavailable\n");
        return 1;
    }
    RunCase(1, requests, runs);
    RunCase(50, requests / 50, runs);
    platform::StopNetworking();
    return 0;
}
