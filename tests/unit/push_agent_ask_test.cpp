// The agent's ask against the real listener: what the student is told, and what the
// presenter is asked.
#include "agent/agent_ask.h"
#include "push/push_listener.h"

#include "push_test_support.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr int kBound = 10000;

class PushAskTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartNetworking(2, 2));
        PushListenerSettings settings;
        settings.registry = &registry_;
        settings.prompt = &prompt_;
        settings.launchViewer = launched_.Launcher();
        listener_ = std::make_unique<ListenerUnderTest>(settings);
        ASSERT_TRUE(listener_->Ok());
    }
    void TearDown() override {
        prompt_.Release();
        listener_.reset();
        platform::StopNetworking();
    }

    int Ask(const std::string& reason, int deliveryWaitMs = 5000) {
        AskSettings ask;
        ask.console = "127.0.0.1";
        ask.port = listener_->Port();
        ask.reason = reason;
        ask.statePath = scratch_.Path("no-state"); // never the machine's own remembered console
        ask.deliveryWaitMs = deliveryWaitMs;
        return AskForAttention(ask, out_, err_);
    }

    ScratchDir scratch_;
    NodeRegistry registry_;
    RecordingPrompt prompt_;
    RecordingLauncher launched_;
    std::unique_ptr<ListenerUnderTest> listener_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(PushAskTest, TheStudentIsToldTheRequestWasDeliveredAndThatNoAnswerComes) {
    registry_.AppendIfNew(MakeRecord("127.0.0.1", "Lab PC 1"));
    EXPECT_EQ(Ask("my code crashes"), 0);
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
    EXPECT_EQ(prompt_.Questions().at(0), Question("Lab PC 1", "my code crashes"));
    EXPECT_NE(out_.str().find("delivered to the presenter's console at 127.0.0.1"),
              std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("No answer comes back here"), std::string::npos) << out_.str();
    EXPECT_EQ(out_.str().find("Note:"), std::string::npos) << out_.str();
    EXPECT_EQ(err_.str(), "");
}

TEST_F(PushAskTest, WhileThePresenterAnswersAnotherTheRequestIsTakenAndAskedNext) {
    prompt_.Hold();
    Peer earlier(listener_->Port(), "127.0.0.2");
    ASSERT_TRUE(earlier.Send("earlier"));
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
    // The console reads it at once, and it waits in the console's queue.
    EXPECT_EQ(Ask("mine"), 0);
    EXPECT_NE(out_.str().find("delivered"), std::string::npos) << out_.str();
    prompt_.Answer(false);
    prompt_.Answer(false);
    ASSERT_TRUE(prompt_.WaitAsked(2, kBound));
    EXPECT_EQ(prompt_.Questions().at(1), Question("", "mine"));
}

TEST_F(PushAskTest, ALongReasonIsDeliveredWithANoteOnHowMuchWasSent) {
    const std::string reason(300, 'w');
    EXPECT_EQ(Ask(reason), 0);
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
    EXPECT_EQ(prompt_.Questions().at(0), Question("", reason.substr(0, kMaxShownReasonBytes)));
    EXPECT_NE(out_.str().find("delivered"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("your reason is 300 bytes long; only its first 128 bytes were sent"),
              std::string::npos)
        << out_.str();
}

TEST_F(PushAskTest, AnEmptyReasonIsDeliveredWithANote) {
    EXPECT_EQ(Ask(""), 0);
    ASSERT_TRUE(prompt_.WaitAsked(1, kBound));
    EXPECT_EQ(prompt_.Questions().at(0), Question("", ""));
    EXPECT_NE(out_.str().find("you gave no reason"), std::string::npos) << out_.str();
}

} // namespace
