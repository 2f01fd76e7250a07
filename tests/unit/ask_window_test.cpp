// The student's window without its window: its command line, what it shows in each phase and
// after each outcome, the reason's byte limit, the request off the window thread, and one
// request from start to end against the real listener.
#include "agent/console_state.h"
#include "ask/ask_attempt.h"
#include "ask/ask_dialog_state.h"
#include "ask/ask_options.h"
#include "ask/background_ask.h"

#include "push_test_support.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kBound = 10000;

struct OptionsCase {
    std::vector<std::string> words;
    std::string console;
    std::string bind;
    std::string state;
    std::uint16_t port;
};

TEST(AskOptions, NothingIsNeededAndEachOverrideIsTaken) {
    const OptionsCase cases[] = {
        {{}, "", "", "", 0},
        {{"--console", "192.168.1.10"}, "192.168.1.10", "", "", 0},
        {{"--bind", "127.0.0.7", "--console", "127.0.0.1"}, "127.0.0.1", "127.0.0.7", "", 0},
        {{"--state", "C:\\x\\state.txt", "--port", "40000"}, "", "", "C:\\x\\state.txt", 40000},
        {{"--port", "1", "--port", "65535"}, "", "", "", 65535}, // the last one counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        std::string error = "stale";
        std::optional<AskOptions> options = ParseAskOptions(c.words, error);
        ASSERT_TRUE(options.has_value()) << error;
        EXPECT_EQ(error, "");
        EXPECT_EQ(options->console, c.console);
        EXPECT_EQ(options->bind, c.bind);
        EXPECT_EQ(options->statePath, c.state);
        EXPECT_EQ(options->port, c.port);
    }
}

TEST(AskOptions, MistakesAreNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"please", "look"}, "unknown option 'please'"},
        {{"--console"}, "--console needs a value"},
        {{"--console", "10.1"}, "--console needs an address such as 192.168.1.10, not '10.1'"},
        {{"--console", "presenter-pc"}, "not 'presenter-pc'"},
        {{"--bind", "127.0.0.256"}, "--bind needs an address"},
        {{"--bind", ""}, "--bind needs an address"},
        {{"--port", "0"}, "--port needs a number from 1 to 65535, not '0'"},
        {{"--port", "65536"}, "not '65536'"},
        {{"--port", "-1"}, "not '-1'"},
        {{"--port", "12341x"}, "not '12341x'"},
        {{"--state", ""}, "--state needs a file name"},
        {{"--state"}, "--state needs a value"},
    };
    for (const auto& [words, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(words));
        std::string error;
        EXPECT_FALSE(ParseAskOptions(words, error).has_value());
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

struct OutcomeCase {
    AskOutcome outcome;
    AskPhase phase;    // after the outcome
    bool sendEnabled;  // Send can be pressed again
    std::string close; // the other button's label
};

TEST(AskDialogState, EachOutcomeSaysWhatHappenedAndOnlyAFailureCanBeTriedAgain) {
    const OutcomeCase cases[] = {
        {AskOutcome::delivered, AskPhase::sent, false, "Close"},
        {AskOutcome::waiting, AskPhase::sent, false, "Close"},
        {AskOutcome::noConsoleKnown, AskPhase::editing, true, "Cancel"},
        {AskOutcome::badAddress, AskPhase::editing, true, "Cancel"},
        {AskOutcome::bindFailed, AskPhase::editing, true, "Cancel"},
        {AskOutcome::refused, AskPhase::editing, true, "Cancel"},
        {AskOutcome::unreachable, AskPhase::editing, true, "Cancel"},
        {AskOutcome::cutOff, AskPhase::editing, true, "Cancel"},
        {AskOutcome::networkDown, AskPhase::editing, true, "Cancel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.outcome));
        AskDialogState state;
        ASSERT_TRUE(state.StartSending());
        state.Finish(c.outcome, "what happened");
        AskDialogView view = state.View();
        EXPECT_EQ(state.Phase(), c.phase);
        EXPECT_EQ(view.status, "what happened");
        EXPECT_EQ(view.sendEnabled, c.sendEnabled);
        EXPECT_EQ(view.reasonEditable, c.sendEnabled);
        EXPECT_EQ(std::string(view.closeLabel), c.close);
        EXPECT_EQ(state.EnterCloses(), !c.sendEnabled);
        EXPECT_EQ(state.StartSending(), c.sendEnabled) << "a second Send";
    }
}

TEST(AskDialogState, OneRequestAtATime) {
    AskDialogState state;
    EXPECT_EQ(state.View().status, kAskReadyText);
    EXPECT_TRUE(state.View().sendEnabled);
    EXPECT_FALSE(state.EnterCloses());

    ASSERT_TRUE(state.StartSending());
    AskDialogView sending = state.View();
    EXPECT_EQ(sending.status, kAskSendingText);
    EXPECT_FALSE(sending.sendEnabled);
    EXPECT_FALSE(sending.reasonEditable);
    EXPECT_EQ(std::string(sending.closeLabel), "Close") << "closing does not call it back";
    EXPECT_FALSE(state.StartSending()) << "Enter pressed again while sending";
    EXPECT_FALSE(state.EnterCloses());

    state.Finish(AskOutcome::refused, "refused");
    state.Finish(AskOutcome::delivered, "a second end of the same request");
    EXPECT_EQ(state.Phase(), AskPhase::editing);
    EXPECT_EQ(state.View().status, "refused");
}

TEST(FitReason, TheEditHoldsTheBytesTheConsoleReadsAndNoHalfCharacter) {
    const std::string full(kMaxReasonBytes, 'a');
    EXPECT_EQ(FitReason(""), std::nullopt);
    EXPECT_EQ(FitReason(full), std::nullopt);
    EXPECT_EQ(FitReason(full + "b"), full);
    EXPECT_EQ(FitReason(full + full), full);
#ifndef _WIN32
    // Natively the text is UTF-8: a two-byte character across the limit goes whole.
    const std::string cut(kMaxReasonBytes - 1, 'a');
    EXPECT_EQ(FitReason(cut + "\xC3\xA9"), cut);
    EXPECT_EQ(FitReason(cut + "\xC3\xA9" + "x"), cut);
#endif
}

AskAttempt Attempt(AskOutcome outcome) {
    AskAttempt attempt;
    attempt.result.outcome = outcome;
    attempt.description = "done";
    return attempt;
}

TEST(BackgroundAsk, TheAttemptIsKeptBeforeDoneIsCalledAndIsTakenOnce) {
    BackgroundAsk ask;
    std::promise<void> doneCalled;
    std::promise<void> goOn;
    std::shared_future<void> wentOn = goOn.get_future().share();
    std::atomic<int> doneCalls{0};
    std::thread::id jobThread;
    ASSERT_TRUE(ask.Start(
        [&] {
            jobThread = std::this_thread::get_id();
            return Attempt(AskOutcome::delivered);
        },
        [&, wentOn] {
            ++doneCalls;
            doneCalled.set_value();
            wentOn.wait(); // the window takes the attempt while done has not returned
        }));
    doneCalled.get_future().wait();
    std::optional<AskAttempt> taken = ask.Take();
    goOn.set_value();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->result.outcome, AskOutcome::delivered);
    EXPECT_NE(jobThread, std::this_thread::get_id());
    EXPECT_FALSE(ask.Take().has_value()) << "taken once";
    EXPECT_EQ(doneCalls.load(), 1);
}

TEST(BackgroundAsk, NothingIsTakenWhileItRunsAndASecondStartIsRefused) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> finished;
    BackgroundAsk ask;
    ASSERT_TRUE(ask.Start(
        [released] {
            released.wait();
            return Attempt(AskOutcome::refused);
        },
        [&] { finished.set_value(); }));
    EXPECT_FALSE(ask.Take().has_value());
    EXPECT_FALSE(ask.Start([] { return Attempt(AskOutcome::delivered); }, [] {}));
    release.set_value();
    finished.get_future().wait();
    std::optional<AskAttempt> taken = ask.Take();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->result.outcome, AskOutcome::refused);
    // Once taken, the next request may start.
    std::promise<void> again;
    EXPECT_TRUE(
        ask.Start([] { return Attempt(AskOutcome::delivered); }, [&] { again.set_value(); }));
    again.get_future().wait();
}

TEST(BackgroundAsk, ClosingTheWindowWaitsForARequestOnItsWay) {
    std::atomic<bool> ended{false};
    std::promise<void> started;
    {
        BackgroundAsk ask;
        ASSERT_TRUE(ask.Start(
            [&] {
                started.set_value();
                SleepMs(200);
                ended = true;
                return Attempt(AskOutcome::delivered);
            },
            [] {}));
        started.get_future().wait();
    }
    EXPECT_TRUE(ended.load());
}

TEST(BackgroundAsk, AJobThatFailsInItselfEndsAsNotSent) {
    BackgroundAsk ask;
    std::promise<void> finished;
    ASSERT_TRUE(ask.Start([]() -> AskAttempt { throw std::runtime_error("no memory"); },
                          [&] { finished.set_value(); }));
    finished.get_future().wait();
    std::optional<AskAttempt> taken = ask.Take();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->result.outcome, AskOutcome::networkDown);
    EXPECT_NE(taken->description.find("NOT sent"), std::string::npos);
}

class AskAttemptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartNetworking(2, 2));
        registry_.AppendIfNew(MakeRecord("127.0.0.1", "Lab PC 1"));
        PushListenerSettings settings;
        settings.registry = &registry_;
        settings.prompt = &prompt_;
        settings.launchViewer = launched_.Launcher();
        listener_ = std::make_unique<ListenerUnderTest>(settings);
        ASSERT_TRUE(listener_->Ok());
        options_.port = listener_->Port();
        options_.statePath = scratch_.Path("state");
    }
    void TearDown() override {
        listener_.reset();
        platform::StopNetworking();
    }

    ScratchDir scratch_;
    NodeRegistry registry_;
    RecordingPrompt prompt_;
    RecordingLauncher launched_;
    std::unique_ptr<ListenerUnderTest> listener_;
    AskOptions options_;
};

TEST_F(AskAttemptTest, WithNothingRememberedNothingIsSent) {
    AskAttempt attempt = RunAskAttempt(options_, "please look");
    EXPECT_EQ(attempt.result.outcome, AskOutcome::noConsoleKnown);
    EXPECT_EQ(attempt.description, kNoConsoleKnownText);
    EXPECT_EQ(attempt.description.find("--console"), std::string::npos);
    EXPECT_FALSE(prompt_.WaitAsked(1, 300));
}

TEST_F(AskAttemptTest, TheRememberedConsoleIsAskedFromTheRememberedAddress) {
    std::string error;
    ASSERT_TRUE(WriteConsoleState(options_.statePath, {"127.0.0.1", "127.0.0.1"}, error)) << error;
    AskAttempt attempt = RunAskAttempt(options_, "please look");
    EXPECT_EQ(attempt.result.outcome, AskOutcome::delivered) << attempt.description;
    EXPECT_EQ(attempt.request.console, "127.0.0.1");
    EXPECT_EQ(attempt.request.bind, "127.0.0.1");
    EXPECT_EQ(attempt.description, DescribeAskResult(attempt.request, attempt.result));
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
    EXPECT_EQ(prompt_.Questions().at(0), Question("Lab PC 1", "please look"));
}

TEST_F(AskAttemptTest, TheCommandLineOverridesAndALongReasonIsCutBeforeItGoes) {
    options_.console = "127.0.0.1";
    const std::string reason(200, 'r');
    AskAttempt attempt = RunAskAttempt(options_, reason);
    EXPECT_EQ(attempt.result.outcome, AskOutcome::delivered) << attempt.description;
    EXPECT_EQ(attempt.request.reason, std::string(kMaxReasonBytes, 'r'));
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
}

TEST_F(AskAttemptTest, AConsoleThatIsNotListeningIsReportedAsRefused) {
    options_.console = "127.0.0.1";
    options_.port = PickFreePort();
    AskAttempt attempt = RunAskAttempt(options_, "anyone?");
    EXPECT_EQ(attempt.result.outcome, AskOutcome::refused) << attempt.description;
}

} // namespace
