// ask without --console: to the remembered console, from the remembered local address, with the
// reason cut where a character begins; and what the student is told when it cannot be sent.
#include "agent/agent_ask.h"
#include "agent/ask_request.h"
#include "agent/console_state.h"
#include "agent/text_cut.h"
#include "platform/net.h"
#include "support/fake_agent.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

constexpr int kBound = 5000;

// A console's push port on 127.0.0.1 that records one request: its sender and its bytes.
class ListeningConsole {
public:
    ListeningConsole() {
        int error = 0;
        listener_ = platform::Listen("127.0.0.1", 0, 4, error);
    }
    std::uint16_t Port() const { return platform::LocalPort(listener_); }
    bool Pending() const { return platform::WaitReadable(listener_, 0) == platform::Wait::ready; }
    // Takes the waiting request; the connection is closed as the console does.
    bool Take(std::string& sender, std::string& bytes) {
        if (platform::WaitReadable(listener_, kBound) != platform::Wait::ready) {
            return false;
        }
        platform::Socket request = platform::Accept(listener_, sender);
        char buffer[512];
        while (platform::WaitReadable(request, kBound) == platform::Wait::ready) {
            int got = platform::Receive(request, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return request.Valid();
    }

private:
    platform::Socket listener_;
};

// The socket library for as long as the members that need it (Winsock before any socket).
struct Networking {
    Networking() { started = platform::StartNetworking(2, 2); }
    ~Networking() {
        if (started) {
            platform::StopNetworking();
        }
    }
    bool started = false;
};

class AskTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(network_.started); }

    void Remember(const std::string& console, const std::string& local) {
        std::string error;
        ASSERT_TRUE(WriteConsoleState(settings_.statePath, {console, local}, error)) << error;
    }
    int Ask(const std::string& reason) {
        settings_.port = console_.Port();
        settings_.reason = reason;
        return AskForAttention(settings_, out_, err_);
    }

    Networking network_;
    ScratchDir dir_;
    ListeningConsole console_;
    AskSettings settings_ = [this] {
        AskSettings settings;
        settings.statePath = dir_.Path("state");
        return settings;
    }();
    std::ostringstream out_;
    std::ostringstream err_;
};

// Whether 0xC3 0xA9 is one character of the reasons typed here: UTF-8 on Linux; on Windows the
// ANSI code page, where only a double-byte page makes it one (in a single-byte page, as in
// Wine's default, each byte is a character of its own).
bool TwoBytesAreOneCharacter() {
#if defined(_WIN32)
    CPINFO info{};
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2 && ::IsDBCSLeadByteEx(CP_ACP, 0xC3);
#else
    return true;
#endif
}

TEST_F(AskTest, GoesToTheRememberedConsoleFromTheRememberedAddress) {
    Remember("127.0.0.1", "127.0.0.9");
    // 127 ASCII bytes and a two-byte character: the character would end past byte 128.
    const std::string reason = std::string(127, 'a') + "\xC3\xA9 more";
    const std::size_t kept = TwoBytesAreOneCharacter() ? 127 : 128;
    std::thread asking([&] { EXPECT_EQ(Ask(reason), 0) << err_.str(); });
    std::string sender;
    std::string bytes;
    EXPECT_TRUE(console_.Take(sender, bytes));
    asking.join();
    EXPECT_EQ(sender, "127.0.0.9");
    EXPECT_EQ(bytes, reason.substr(0, kept));
    EXPECT_NE(out_.str().find("delivered to the presenter's console at 127.0.0.1"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("only its first " + std::to_string(kept) + " bytes were sent"),
              std::string::npos)
        << out_.str();
}

TEST_F(AskTest, AGivenConsoleIsAskedFromAnyAddressUnlessItIsTheRememberedOne) {
    const struct {
        const char* remembered;
        const char* expectedSender;
    } cases[] = {{"127.0.0.66", "127.0.0.1"}, {"127.0.0.1", "127.0.0.9"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remembered);
        Remember(c.remembered, "127.0.0.9");
        settings_.console = "127.0.0.1";
        std::thread asking([&] { EXPECT_EQ(Ask("hi"), 0) << err_.str(); });
        std::string sender;
        std::string bytes;
        EXPECT_TRUE(console_.Take(sender, bytes));
        asking.join();
        EXPECT_EQ(sender, c.expectedSender);
        EXPECT_EQ(bytes, "hi");
    }
}

TEST_F(AskTest, NothingRememberedIsOneClearSentenceAndNoConnection) {
    const std::string unusable[] = {"", "console 127.0.0.1\n"};
    for (const std::string& contents : unusable) {
        SCOPED_TRACE(contents);
        dir_.Write("state", contents);
        err_.str("");
        EXPECT_EQ(Ask("please look"), 1);
        EXPECT_FALSE(console_.Pending());
        EXPECT_EQ(out_.str(), "");
        EXPECT_NE(err_.str().find("no presenter's console has searched this computer yet"),
                  std::string::npos)
            << err_.str();
        EXPECT_NE(err_.str().find("--console ADDRESS"), std::string::npos) << err_.str();
        EXPECT_EQ(err_.str().find('\n'), err_.str().size() - 1) << err_.str();
    }
}

AskRequest Request(const char* console, const char* bind, std::uint16_t port) {
    AskRequest request;
    request.console = console;
    request.bind = bind;
    request.port = port;
    return request;
}

TEST(AskRequest, FailuresAreReportedAndExplained) {
    ASSERT_TRUE(platform::StartNetworking(2, 2));
    std::uint16_t closedPort = PickFreePort(); // nothing listens there now
    const struct {
        const char* what;
        AskRequest request;
        AskOutcome outcome;
        const char* told;
    } cases[] = {
        {"no console", Request("", "", closedPort), AskOutcome::noConsoleKnown,
         "no presenter's console"},
        {"a name for an address", Request("presenter", "", closedPort), AskOutcome::badAddress,
         "'presenter' is not an address"},
        {"a bind address with a leading zero", Request("127.0.0.1", "127.0.0.09", closedPort),
         AskOutcome::badAddress, "'127.0.0.09' is not an address"},
        {"a remembered address this machine no longer has (bound, never sent from)",
         Request("127.0.0.1", "192.0.2.1", closedPort), AskOutcome::bindFailed,
         "no longer has the address 192.0.2.1"},
        {"nothing listening", Request("127.0.0.1", "", closedPort), AskOutcome::refused,
         "ClumaDeck is not taking requests there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AskResult result = SendAskRequest(c.request);
        EXPECT_EQ(result.outcome, c.outcome);
        std::string told = DescribeAskResult(c.request, result);
        EXPECT_EQ(told.rfind("Your request was NOT sent: ", 0), 0u) << told;
        EXPECT_NE(told.find(c.told), std::string::npos) << told;
    }
    platform::StopNetworking();
}

TEST(ReasonCut, NeverInTheMiddleOfACharacter) {
    const std::string euro = "\xE2\x82\xAC"; // three bytes in UTF-8
    const struct {
        std::string text;
        std::size_t max;
        std::string kept;
    } utf8[] = {
        {"short", 128, "short"},
        {"abc" + euro, 6, "abc" + euro},
        {"abc" + euro, 5, "abc"},
        {"abc" + euro, 4, "abc"},
        {"abc" + euro + "d", 6, "abc" + euro},
        {"\xF0\x9F\x99\x82x", 3, ""},                // a four-byte character
        {"ab\x80\x80\x80\x80\x80", 4, "ab\x80\x80"}, // no UTF-8: the plain cut
    };
    for (const auto& c : utf8) {
        SCOPED_TRACE(c.text + " to " + std::to_string(c.max));
        EXPECT_EQ(CutUtf8(c.text, c.max), c.kept);
    }
    // A double-byte code page: lead bytes 0x81 to 0xFE, as in GBK; a trail byte may look
    // like a lead byte.
    auto gbkLead = [](unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; };
    const struct {
        std::string text;
        std::size_t max;
        std::string kept;
    } doubleByte[] = {
        {"a\xA3\xBF", 3, "a\xA3\xBF"}, {"a\xA3\xBF", 2, "a"}, {"\xA3\xA3\xA3\xA3", 3, "\xA3\xA3"},
        {"ab\xA3\xA3", 3, "ab"},       {"\xA3", 128, "\xA3"},
    };
    for (const auto& c : doubleByte) {
        SCOPED_TRACE(c.text + " to " + std::to_string(c.max));
        EXPECT_EQ(CutDoubleByte(c.text, c.max, gbkLead), c.kept);
    }
    // Windows' ANSI code page: 65001 is UTF-8, whose lead bytes no double-byte rule reports.
    auto noLead = [](unsigned char) { return false; };
    const struct {
        unsigned codePage;
        std::function<bool(unsigned char)> isLead;
        std::string text;
        std::size_t max;
        std::string kept;
    } ansi[] = {
        {kUtf8CodePage, noLead, "ab" + euro, 4, "ab"},
        {kUtf8CodePage, noLead, "ab" + euro + euro, 7, "ab" + euro},
        {936, gbkLead, "a\xA3\xBF", 2, "a"},
        {1252, noLead, "ab\xE2\x82\xAC", 4, "ab\xE2\x82"}, // three characters of 1252
    };
    for (const auto& c : ansi) {
        SCOPED_TRACE(std::to_string(c.codePage) + ": " + c.text + " to " + std::to_string(c.max));
        EXPECT_EQ(CutAnsi(c.text, c.max, c.codePage, c.isLead), c.kept);
    }
}

} // namespace
