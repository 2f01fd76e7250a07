// StoppableThread with real threads and a real window of the waiting thread: a stop that
// waits while the thread is sending to that window, a thread that will not end, and the
// ends that stop a thread by themselves (destruction, replacement).
#include "console/stoppable_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

constexpr UINT kPing = WM_APP + 7;

// A message-only window that counts the pings sent to it.
class PingWindow {
public:
    PingWindow() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "StoppableThreadTestPing";
        ::RegisterClassA(&windowClass);
        window_ = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pings_));
    }
    ~PingWindow() { ::DestroyWindow(window_); }
    HWND Handle() const { return window_; }
    int Pings() const { return pings_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kPing) {
            ++*reinterpret_cast<int*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
            return 1;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
    int pings_ = 0;
};

// A manual-reset event, closed with its owner.
class Event {
public:
    Event() : handle_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { ::CloseHandle(handle_); }
    void Set() { ::SetEvent(handle_); }
    void WaitForever() { ::WaitForSingleObject(handle_, INFINITE); }

private:
    HANDLE handle_;
};

TEST(StoppableThread, AStopWaitsWhileTheThreadSendsToTheWaitersWindow) {
    PingWindow window;
    auto stopRequested = std::make_shared<Event>();
    std::atomic<LRESULT> answer{0};
    HWND target = window.Handle();
    StoppableThread thread(
        [stopRequested, target, &answer] {
            stopRequested->WaitForever();
            // A rescan that was refreshing the list as the console closed: the send only
            // returns once the waiting thread answers it.
            answer = ::SendMessageA(target, kPing, 0, 0);
        },
        [stopRequested] { stopRequested->Set(); });
    ASSERT_TRUE(thread.Started());
    EXPECT_TRUE(thread.StopAndWait(20000));
    EXPECT_EQ(window.Pings(), 1);
    EXPECT_EQ(answer.load(), 1);
}

TEST(StoppableThread, AThreadThatWillNotEndIsLeftAfterTheWait) {
    auto release = std::make_shared<Event>();
    std::atomic<bool> ended{false};
    StoppableThread thread(
        [release, &ended] {
            release->WaitForever();
            ended = true;
        },
        [] {}); // a stop it does not hear
    ASSERT_TRUE(thread.Started());
    EXPECT_FALSE(thread.StopAndWait(100));
    EXPECT_FALSE(ended.load());
    release->Set();
    EXPECT_TRUE(thread.StopAndWait(20000));
    EXPECT_TRUE(ended.load());
    EXPECT_TRUE(thread.StopAndWait(0)); // and again: it has ended
}

TEST(StoppableThread, DestructionAndReplacementStopTheRunningThread) {
    struct Run {
        std::shared_ptr<Event> stop = std::make_shared<Event>();
        std::atomic<bool> ended{false};
        StoppableThread Start() {
            return StoppableThread(
                [this] {
                    stop->WaitForever();
                    ended = true;
                },
                [stop = stop] { stop->Set(); });
        }
    };
    Run destroyed;
    {
        StoppableThread thread = destroyed.Start();
        ASSERT_TRUE(thread.Started());
    }
    EXPECT_TRUE(destroyed.ended.load());

    Run replaced, replacement;
    StoppableThread thread = replaced.Start();
    thread = replacement.Start();
    EXPECT_TRUE(replaced.ended.load());
    EXPECT_FALSE(replacement.ended.load());
    EXPECT_TRUE(thread.StopAndWait(20000));
    EXPECT_TRUE(replacement.ended.load());

    StoppableThread moved = std::move(thread);
    EXPECT_FALSE(thread.Started());
    EXPECT_TRUE(StoppableThread().StopAndWait(0)); // nothing started: nothing to wait for
}

} // namespace
