#include "agent/agent_serve.h"

#include "agent/console_state.h"
#include "agent/console_trust.h"
#include "agent/state_file.h"
#include "platform/net.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <ostream>
#include <thread>

namespace {

// How soon a stop request is noticed, and so how often the idle agent wakes: a service must
// stop within a second of its request.
constexpr int kPollMs = 500;
constexpr int kBacklog = 64;

std::string Where(const ServeSettings& settings) {
    return (settings.bindAddress.empty() ? std::string("all addresses") : settings.bindAddress) +
           ", port " + std::to_string(settings.port);
}

// The console this machine trusts, kept in the state file for `ask`. ConsoleTrust decides;
// this writes the file when it says so and tells the log what was decided.
class ConsoleMemory {
public:
    ConsoleMemory(const ServeSettings& settings, std::ostream& err)
        : path_(settings.statePath), err_(err),
          trust_(
              {settings.pinnedConsole, ServesLoopbackAlone(settings)},
              path_.empty() ? std::nullopt : ReadConsoleState(path_),
              settings.clock ? settings.clock : [] { return TrustClock::now(); }) {}

    void Probed(const std::string& peer, const std::string& local) {
        if (path_.empty()) {
            return;
        }
        ProbeVerdict verdict = trust_.Probed(peer, local);
        if (verdict == ProbeVerdict::thisMachine) {
            SayOnce("cluma-agent: not remembering " + peer +
                    " as the console: the search came from this machine");
        } else if (verdict == ProbeVerdict::knownStillHere) {
            SayOnce("cluma-agent: not remembering " + peer + " as the console: the console " +
                    trust_.Trusted()->console + " still searches this machine");
        }
        Save(false);
    }

    // Writes what is due: after each probe, on the idle wake-up, and (force) as the agent stops.
    void Save(bool force) {
        if (path_.empty() || !trust_.WriteDue(force)) {
            return;
        }
        const std::optional<ConsoleState>& trusted = trust_.Trusted();
        std::string error;
        // An empty file is "no console known"; the replace keeps the file's permissions.
        bool written = trusted ? WriteConsoleState(path_, *trusted, error)
                               : ReplaceFileContents(path_, "", error);
        trust_.WriteAttempted(written);
        if (!written) {
            // Said once per kind of failure: a probe every 20 seconds must not fill a log.
            if (error != lastError_) {
                err_ << "cluma-agent: cannot remember the console "
                     << (trusted ? trusted->console : std::string("(none)")) << ": " << error
                     << "\n"
                     << std::flush;
                lastError_ = error;
            }
            return;
        }
        lastError_.clear();
        if (trusted) {
            err_ << "cluma-agent: remembering the console " << trusted->console
                 << ", which reaches this machine at " << trusted->local << "\n"
                 << std::flush;
        } else {
            err_ << "cluma-agent: forgot the console remembered before: this agent does not trust "
                    "it\n"
                 << std::flush;
        }
    }

private:
    static bool ServesLoopbackAlone(const ServeSettings& settings) {
        return settings.bindAddress.rfind("127.", 0) == 0;
    }

    // A line said again only after another one: a student's program probing in a loop must
    // not fill the log.
    void SayOnce(const std::string& line) {
        if (line != lastSaid_) {
            err_ << line << "\n" << std::flush;
            lastSaid_ = line;
        }
    }

    std::string path_;
    std::ostream& err_;
    ConsoleTrust trust_;
    std::string lastError_;
    std::string lastSaid_;
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

// Takes the port. An address that is not on this machine (yet), as at boot before the network
// is up, is tried again until it is there or a stop is requested; any other failure ends the
// agent. Returns the exit code for a failure, or -1 with listener taken (or a stop requested).
int TakePort(const ServeSettings& settings, const std::atomic<bool>& stop,
             platform::Socket& listener, std::ostream& err) {
    bool told = false;
    for (;;) {
        int error = 0;
        listener = platform::Listen(settings.bindAddress.c_str(), settings.port, kBacklog, error);
        if (listener.Valid()) {
            return -1;
        }
        if (!platform::IsAddressNotAvailable(error)) {
            err << "cluma-agent: cannot answer on " << Where(settings) << ": ";
            if (platform::IsAddressInUse(error)) {
                err << "the port is already in use (is another cluma-agent running?)\n";
            } else {
                err << platform::DescribeSocketError(error) << "\n";
            }
            return 2;
        }
        if (!told) {
            err << "cluma-agent: the address " << settings.bindAddress
                << " is not on this machine (yet); trying again every "
                << settings.bindRetryMs / 1000.0 << " s\n"
                << std::flush;
            told = true;
        }
        for (int waited = 0; waited < settings.bindRetryMs && !stop.load(); waited += kPollMs) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::min(kPollMs, settings.bindRetryMs - waited)));
        }
        if (stop.load()) {
            return -1;
        }
    }
}

} // namespace

int ServeProbes(const ServeSettings& settings, const std::atomic<bool>& stop, std::ostream& out,
                std::ostream& err) {
    platform::Socket listener;
    int failed = TakePort(settings, stop, listener, err);
    if (failed >= 0) {
        return failed;
    }
    if (!listener.Valid()) {
        out << "cluma-agent: stopped\n" << std::flush;
        return 0;
    }
    platform::SetNonBlocking(listener, true);
    ConsoleMemory memory(settings, err);
    memory.Save(false); // forgets at once a console these settings do not trust
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
            memory.Save(true);
            return 1;
        } else {
            memory.Save(false); // a change held back by the once-a-minute rate
        }
    }
    memory.Save(true);
    out << "cluma-agent: stopped\n" << std::flush;
    return 0;
}
