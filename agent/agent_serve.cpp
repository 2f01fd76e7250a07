#include "agent/agent_serve.h"

#include "platform/net.h"

#include <ostream>

namespace {

constexpr int kPollMs = 200; // how soon a stop request is noticed
constexpr int kBacklog = 64;

std::string Where(const ServeSettings& settings) {
    return (settings.bindAddress.empty() ? std::string("all addresses") : settings.bindAddress) +
           ", port " + std::to_string(settings.port);
}

// Accepts every waiting connection and answers each at once. Accepted sockets are
// non-blocking, so a prober that never reads cannot hold up the next one.
void AnswerWaitingProbes(const platform::Socket& listener, const ServeSettings& settings,
                         std::ostream& out) {
    const std::string& name = settings.name;
    for (;;) {
        std::string peer;
        platform::Socket probe = platform::Accept(listener, peer);
        if (!probe.Valid()) {
            return;
        }
        platform::SetNonBlocking(probe, true);
        if (!name.empty()) {
            platform::Send(probe, name.data(), static_cast<int>(name.size()));
        }
        platform::ShutdownSend(probe);
        if (settings.verbose) {
            out << "cluma-agent: answered a probe from " << peer << "\n" << std::flush;
        }
    }
}

} // namespace

int ServeProbes(const ServeSettings& settings, const std::atomic<bool>& stop, std::ostream& out,
                std::ostream& err) {
    int error = 0;
    platform::Socket listener =
        platform::Listen(settings.bindAddress.c_str(), settings.port, kBacklog, error);
    if (!listener.Valid()) {
        err << "cluma-agent: cannot answer on " << Where(settings) << ": ";
        if (platform::IsAddressInUse(error)) {
            err << "the port is already in use (is another cluma-agent running?)\n";
        } else {
            err << platform::DescribeSocketError(error) << "\n";
        }
        return 2;
    }
    platform::SetNonBlocking(listener, true);
    out << "cluma-agent: answering the console on " << Where(settings) << " as \"" << settings.name
        << "\"\n"
        << std::flush;
    while (!stop.load()) {
        platform::Wait wait = platform::WaitReadable(listener, kPollMs);
        if (wait == platform::Wait::ready) {
            AnswerWaitingProbes(listener, settings, out);
        } else if (wait == platform::Wait::failed && !stop.load()) {
            err << "cluma-agent: waiting for the console failed: "
                << platform::DescribeSocketError(platform::LastSocketError()) << "\n";
            return 1;
        }
    }
    out << "cluma-agent: stopped\n" << std::flush;
    return 0;
}
