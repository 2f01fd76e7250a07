// The student's side: how long a request takes from ask to its arrival at a listening console,
// and what a serving agent costs its PC while nobody asks (CPU time per minute, resident
// memory, wake-ups per second).
//
//   agent_bench ask RUNS                    ask in process, to a console stand-in on loopback
//   agent_bench ask-program RUNS AGENT      the same through the agent program (Linux)
//   agent_bench idle SECONDS AGENT          starts AGENT serve on loopback and watches it (Linux)
//   agent_bench watch SECONDS PID           watches a running process, e.g. the Windows service
//                                           under Wine (Linux)
#include "agent/ask_request.h"
#include "bench_support.h"
#include "platform/net.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// A console's push port: accepts, reads the request once and closes, as the console does,
// and notes when each request arrived.
class ConsoleStandIn {
public:
    ConsoleStandIn() {
        int error = 0;
        listener_ = platform::Listen("127.0.0.1", 0, 16, error);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ConsoleStandIn() {
        stop_ = true;
        thread_.join();
    }
    std::uint16_t Port() const { return platform::LocalPort(listener_); }
    // Waits for the next request; its arrival time, or nothing after 10 seconds.
    bool WaitArrival(std::size_t count, Clock::time_point& at) {
        for (int waited = 0; waited < 10000 && arrivals_.load() < count; ++waited) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        at = Clock::time_point(Clock::duration(lastArrival_.load()));
        return arrivals_.load() >= count;
    }

private:
    void Serve() {
        while (!stop_) {
            if (platform::WaitReadable(listener_, 100) != platform::Wait::ready) {
                continue;
            }
            std::string peer;
            platform::Socket request = platform::Accept(listener_, peer);
            char reason[129] = {};
            platform::Receive(request, reason, 128);
            lastArrival_ = Clock::now().time_since_epoch().count();
            ++arrivals_;
        }
    }

    platform::Socket listener_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> arrivals_{0};
    std::atomic<Clock::rep> lastArrival_{0};
    std::thread thread_;
};

void ReportTimes(const char* what, const std::vector<double>& milliseconds) {
    std::vector<bench::Sample> samples;
    for (double ms : milliseconds) {
        samples.push_back({ms, 0.0});
    }
    if (!samples.empty()) {
        bench::Report(what, samples);
    }
}

int BenchAsk(int runs) {
    ConsoleStandIn console;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        AskRequest request;
        request.console = "127.0.0.1";
        request.port = console.Port();
        request.reason = CutReason("please look at my screen, the program crashes");
        Clock::time_point start = Clock::now();
        AskResult result = SendAskRequest(request);
        Clock::time_point arrived;
        if (result.outcome != AskOutcome::delivered ||
            !console.WaitArrival(static_cast<std::size_t>(run + 1), arrived)) {
            std::printf("run %d: %s\n", run, DescribeAskResult(request, result).c_str());
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(arrived - start).count());
    }
    ReportTimes("ask to arrival (in process)", times);
    return 0;
}

#if !defined(_WIN32)

// unprivileged: as nobody when run as root (serve refuses root, as a service it runs as the
// package's own user).
pid_t Start(const std::vector<std::string>& words, bool unprivileged = false) {
    const passwd* nobody = unprivileged && ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
    pid_t pid = ::fork();
    if (pid == 0) {
        if (nobody != nullptr && (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                                  ::setuid(nobody->pw_uid) != 0)) {
            ::_exit(126);
        }
        std::vector<char*> argv;
        for (const std::string& word : words) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int BenchAskProgram(int runs, const std::string& agent) {
    ConsoleStandIn console;
    std::string state = "/tmp/agent-bench-" + std::to_string(::getpid()) + ".state";
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        pid_t pid = Start({agent, "ask", "--console", "127.0.0.1", "--port",
                           std::to_string(console.Port()), "--state", state, "please", "look"});
        Clock::time_point arrived;
        bool ok = console.WaitArrival(static_cast<std::size_t>(run + 1), arrived);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf("run %d: the agent program did not deliver\n", run);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(arrived - start).count());
    }
    ReportTimes("ask to arrival (agent program)", times);
    return 0;
}

struct Footprint {
    double cpuMs = 0;     // user and system time so far
    long residentKiB = 0; // VmRSS
};

bool ReadFootprint(pid_t pid, Footprint& footprint) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    std::vector<std::string> values;
    while (fields >> field) {
        values.push_back(field);
    }
    if (values.size() < 13) {
        return false;
    }
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    double ticks = std::stod(values[11]) + std::stod(values[12]);
    footprint.cpuMs = ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream words(line);
        std::string key;
        long value = 0;
        words >> key >> value;
        if (key == "VmRSS:") {
            footprint.residentKiB = value;
        }
    }
    return true;
}

// Wake-ups: the context switches of all the process's threads (voluntary ones are the waits
// that ended; a Wine process wakes in several threads).
long ThreadSwitches(pid_t pid) {
    long total = 0;
    std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& entry : std::filesystem::directory_iterator(tasks)) {
        std::ifstream status(entry.path() / "status");
        std::string line;
        while (std::getline(status, line)) {
            std::istringstream words(line);
            std::string key;
            long value = 0;
            words >> key >> value;
            if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
                total += value;
            }
        }
    }
    return total;
}

int Watch(pid_t pid, int seconds, const char* what) {
    Footprint before;
    if (!ReadFootprint(pid, before)) {
        std::printf("no process %d\n", static_cast<int>(pid));
        return 1;
    }
    long switchesBefore = ThreadSwitches(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    Footprint after;
    if (!ReadFootprint(pid, after)) {
        std::printf("process %d ended\n", static_cast<int>(pid));
        return 1;
    }
    long switches = ThreadSwitches(pid) - switchesBefore;
    std::printf("%-40s over %d s: cpu %.1f ms per minute, resident %ld KiB, wake-ups %.2f /s\n",
                what, seconds, (after.cpuMs - before.cpuMs) * 60.0 / seconds, after.residentKiB,
                static_cast<double>(switches) / seconds);
    return 0;
}

int BenchIdle(int seconds, const std::string& agent) {
    std::string state = "/tmp/agent-bench-" + std::to_string(::getpid()) + ".state";
    std::uint16_t port = 0;
    {
        int error = 0;
        platform::Socket probe = platform::Listen("127.0.0.61", 0, 1, error);
        port = platform::LocalPort(probe);
    }
    // The state in /tmp, where nobody may write too, and a copy of the agent there that nobody
    // reaches wherever the build folder is.
    std::string program = "/tmp/agent-bench-" + std::to_string(::getpid()) + ".agent";
    std::filesystem::copy_file(agent, program, std::filesystem::copy_options::overwrite_existing);
    pid_t pid = Start({program, "serve", "--bind", "127.0.0.61", "--port", std::to_string(port),
                       "--state", state, "--name", "bench"},
                      true);
    std::this_thread::sleep_for(std::chrono::seconds(1)); // past its start
    int result = Watch(pid, seconds, "idle agent (serve)");
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    std::remove(state.c_str());
    std::remove(program.c_str());
    return result;
}

#endif

} // namespace

int main(int argc, char** argv) {
    if (!platform::StartNetworking(2, 2)) {
        return 1;
    }
    std::string mode = argc > 1 ? argv[1] : "";
    int number = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "ask" && number > 0) {
        return BenchAsk(number);
    }
#if !defined(_WIN32)
    if (mode == "ask-program" && number > 0 && argc > 3) {
        return BenchAskProgram(number, argv[3]);
    }
    if (mode == "idle" && number > 0 && argc > 3) {
        return BenchIdle(number, argv[3]);
    }
    if (mode == "watch" && number > 0 && argc > 3) {
        return Watch(static_cast<pid_t>(std::atoi(argv[3])), number, "watched process");
    }
#endif
    std::fprintf(stderr, "usage: agent_bench ask RUNS | ask-program RUNS AGENT | idle SECONDS "
                         "AGENT | watch SECONDS PID (the last three on Linux)\n");
    return 64;
}
