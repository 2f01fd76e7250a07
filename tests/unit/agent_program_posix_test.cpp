// The agent as a technician runs it: a real process, real sockets on loopback.
#include "discovery/subnet_probe.h"
#include "platform/net.h"
#include "support/fake_agent.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// The agent refuses to serve as root, and tests run as root: it runs as nobody then, from a
// copy in a scratch folder that nobody may write (the build folder may be out of its reach).
const passwd* Unprivileged() {
    return ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
}

enum class As { unprivileged, thisUser };

// A child process whose standard output and error go to files; stopped by its id.
class AgentProcess {
public:
    AgentProcess(const std::vector<std::string>& arguments, const ScratchDir& dir,
                 As as = As::unprivileged)
        : dir_(dir) {
        const passwd* user = as == As::unprivileged ? Unprivileged() : nullptr;
        std::string program = CLUMA_AGENT_PATH;
        if (user != nullptr) {
            EXPECT_EQ(::chown(dir.Path("").c_str(), user->pw_uid, user->pw_gid), 0);
            std::filesystem::copy_file(program, dir.Path("cluma-agent"));
            program = dir.Path("cluma-agent");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            int out = ::open(dir.Path("out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int err = ::open(dir.Path("err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
            ::dup2(err, 2);
            if (user != nullptr && (::setgroups(0, nullptr) != 0 || ::setgid(user->pw_gid) != 0 ||
                                    ::setuid(user->pw_uid) != 0)) {
                ::_exit(126);
            }
            std::vector<char*> argv;
            argv.push_back(program.data());
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~AgentProcess() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // Waits up to timeoutMs for the process to end; -1 if it did not.
    int WaitExit(int timeoutMs) {
        int status = 0;
        bool ended = WaitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
        if (!ended) {
            return -1;
        }
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    void Signal(int signal) { ::kill(pid_, signal); }
    std::string Out() const { return dir_.Read("out.txt"); }
    std::string Err() const { return dir_.Read("err.txt"); }

private:
    const ScratchDir& dir_;
    pid_t pid_ = -1;
    bool exited_ = false;
};

bool Answers(const char* address, std::uint16_t port) {
    platform::Socket socket = platform::CreateTcpSocket();
    platform::SetNonBlocking(socket, true);
    platform::StartConnect(socket, address, port);
    return platform::WaitWritable(socket, 50) == platform::Wait::ready &&
           platform::IsConnected(socket);
}

TEST(AgentProgram, AProbeGetsTheNameAndTheAgentStopsCleanlyOnSigterm) {
    ScratchDir dir;
    std::uint16_t port = PickFreePort();
    std::string portText = std::to_string(port);
    AgentProcess agent({"serve", "--name", "Lab PC 3", "--bind", "127.0.0.33", "--port", portText,
                        "--verbose", "--state", dir.Path("state")},
                       dir);
    ASSERT_TRUE(WaitFor([&] { return Answers("127.0.0.33", port); }, 5000)) << agent.Err();
    // The connection above was a probe too: once its prober is written down the agent is idle
    // again, and the scan's 50 ms wait for the name does not race that write.
    ASSERT_TRUE(
        WaitFor([&] { return dir.Read("state").find("127.0.0.1") != std::string::npos; }, 5000))
        << agent.Err();

    NodeRegistry registry;
    ScanSettings settings;
    settings.registry = &registry;
    settings.localAddressFile = dir.Write("localIp.txt", "127.0.0.1 ");
    settings.port = port;
    // What the agent says is the point here, not how soon the system runs it: its name counts
    // whenever it comes.
    settings.waitForName = [](const platform::Socket& socket, const char*, int) {
        return platform::WaitReadable(socket, 10000);
    };
    ScanSubnet(settings);
    auto found = registry.FindByAddress("127.0.0.33");
    ASSERT_TRUE(found.has_value());
    EXPECT_STREQ(found->name, "Lab PC 3");

    agent.Signal(SIGTERM);
    EXPECT_EQ(agent.WaitExit(5000), 0);
    EXPECT_NE(agent.Out().find("as \"Lab PC 3\""), std::string::npos) << agent.Out();
    EXPECT_NE(agent.Out().find("answered a probe from 127.0.0.1"), std::string::npos)
        << agent.Out();
    EXPECT_NE(agent.Out().find("stopped"), std::string::npos) << agent.Out();
}

TEST(AgentProgram, APortAlreadyInUseIsExplained) {
    ScratchDir dir;
    std::uint16_t port = PickFreePort();
    int error = 0;
    platform::Socket taken = platform::Listen("127.0.0.34", port, 1, error);
    ASSERT_TRUE(taken.Valid());
    AgentProcess agent({"serve", "--bind", "127.0.0.34", "--port", std::to_string(port), "--state",
                        dir.Path("state")},
                       dir);
    EXPECT_EQ(agent.WaitExit(5000), 2);
    EXPECT_NE(agent.Err().find("already in use"), std::string::npos) << agent.Err();
}

TEST(AgentProgram, ServeRefusesToRunAsRoot) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can see the refusal";
    }
    ScratchDir dir;
    AgentProcess agent({"serve", "--bind", "127.0.0.35", "--port", std::to_string(PickFreePort()),
                        "--state", dir.Path("state")},
                       dir, As::thisUser);
    EXPECT_EQ(agent.WaitExit(5000), 77);
    EXPECT_EQ(agent.Err(), "cluma-agent: refusing to serve as root: run it as an unprivileged "
                           "user, such as the package's cluma-agent service user.\n");
}

TEST(AgentProgram, BadArgumentsShowTheUsage) {
    ScratchDir dir;
    AgentProcess agent({"serve", "--port", "none"}, dir);
    EXPECT_EQ(agent.WaitExit(5000), 64);
    EXPECT_NE(agent.Err().find("Usage:"), std::string::npos);
}

TEST(AgentProgram, AskDeliversItsReasonBytes) {
    ScratchDir dir;
    int error = 0;
    platform::Socket console = platform::Listen("127.0.0.1", 0, 4, error);
    ASSERT_TRUE(console.Valid());
    std::uint16_t port = platform::LocalPort(console);
    AgentProcess agent({"ask", "--console", "127.0.0.1", "--port", std::to_string(port), "--state",
                        dir.Path("state"), "my", "code", "crashes"},
                       dir);
    ASSERT_EQ(platform::WaitReadable(console, 5000), platform::Wait::ready);
    std::string peer;
    platform::Socket request = platform::Accept(console, peer);
    ASSERT_TRUE(request.Valid());
    std::string received;
    char buffer[256];
    while (platform::WaitReadable(request, 5000) == platform::Wait::ready) {
        int got = platform::Receive(request, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        received.append(buffer, static_cast<std::size_t>(got));
    }
    request.Close(); // as the console does once it has read the request
    EXPECT_EQ(received, "my code crashes");
    EXPECT_EQ(agent.WaitExit(10000), 0);
    EXPECT_NE(agent.Out().find("delivered"), std::string::npos) << agent.Out();
}

TEST(AgentProgram, AskTellsTheStudentWhenNoConsoleAnswers) {
    ScratchDir dir;
    std::uint16_t port = PickFreePort(); // nothing listens there now
    AgentProcess agent({"ask", "--console", "127.0.0.1", "--port", std::to_string(port), "--state",
                        dir.Path("state"), "hi"},
                       dir);
    EXPECT_EQ(agent.WaitExit(10000), 1);
    EXPECT_NE(agent.Err().find("NOT sent"), std::string::npos) << agent.Err();
}

} // namespace
