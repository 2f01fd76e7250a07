#include "agent/agent_serve.h"

#include "agent/console_state.h"
#include "agent/state_file.h"
#include "platform/net.h"

#include <optional>
#include <ostream>

namespace {

// How soon a stop request is noticed, and so how often the idle agent wakes: a service must
// stop within a second of its request.
constexpr int kPollMs = 500;
constexpr int kBacklog = 64;

std::string Where(const ServeSettings& settings) {
    return (settings.bindAddress.empty() ? std::string("all addresses") : settings.bindAddress) +
           ", port " + std::to_string(settings.port);
}

// The console as last written to the state file, so that the file is rewritten only when the
// console or the address it reaches this machine by changes: a probe comes every 20 seconds.
class ConsoleMemory {
public:
    ConsoleMemory(const ServeSettings& settings, std::ostream& err)
        : path_(settings.statePath), pinned_(settings.pinnedConsole), err_(err) {
        if (path_.empty()) {
            return;
        }
        known_ = ReadConsoleState(path_);
        if (known_ && !pinned_.empty() && known_->console != pinned_) {
            // Remembered before the console was pinned: ask must not go there any more.
            Forget();
        }
    }

    void Probed(const std::string& peer, const std::string& local) {
        if (path_.empty() || (!pinned_.empty() && peer != pinned_)) {
            return;
        }
        ConsoleState state{peer, local};
        if (known_ == state) {
            return;
        }
        std::string error;
        if (!WriteConsoleState(path_, state, error)) {
            // Said once per kind of failure: a probe every 20 seconds must not fill a log.
            if (error != lastError_) {
                err_ << "cluma-agent: cannot remember the console " << peer << ": " << error << "\n"
                     << std::flush;
                lastError_ = error;
            }
            return;
        }
        lastError_.clear();
        known_ = state;
        err_ << "cluma-agent: remembering the console " << peer
             << ", which reaches this machine at " << local << "\n"
             << std::flush;
    }

private:
    void Forget() {
        std::string error;
        // An empty file is "no console known"; the replace keeps the file's permissions.
        if (!ReplaceFileContents(path_, "", error)) {
            err_ << "cluma-agent: cannot forget the console " << known_->console << ": " << error
                 << "\n"
                 << std::flush;
        }
        known_.reset();
    }
    std::string path_;
    std::string pinned_;
    std::ostream& err_;
    std::optional<ConsoleState> known_;
    std::string lastError_;
};

// Accepts every waiting connection and answers each at once. Accepted sockets are
// non-blocking, so a prober that never reads cannot hold up the next one.
void AnswerWaitingProbes(const platform::Socket& listener, const ServeSettings& settings,
                         ConsoleMemory& memory, std::ostream& out) {
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
        std::string local = platform::LocalAddress(probe);
        if (settings.verbose) {
            out << "cluma-agent: answered a probe from " << peer << " on " << local << "\n"
                << std::flush;
        }
        if (IsDottedAddress(peer) && IsDottedAddress(local)) {
            memory.Probed(peer, local);
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
    ConsoleMemory memory(settings, err);
    out << "cluma-agent: answering the console on " << Where(settings) << " as \"" << settings.name
        << "\"\n"
        << std::flush;
    if (settings.onListening) {
        settings.onListening();
    }
    while (!stop.load()) {
        platform::Wait wait = platform::WaitReadable(listener, kPollMs);
        if (wait == platform::Wait::ready) {
            AnswerWaitingProbes(listener, settings, memory, out);
        } else if (wait == platform::Wait::failed && !stop.load()) {
            err << "cluma-agent: waiting for the console failed: "
                << platform::DescribeSocketError(platform::LastSocketError()) << "\n";
            return 1;
        }
    }
    out << "cluma-agent: stopped\n" << std::flush;
    return 0;
}
