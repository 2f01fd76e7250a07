#include "console/stoppable_thread.h"

#include <memory>
#include <utility>

namespace {

DWORD WINAPI RunBody(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

} // namespace

StoppableThread::StoppableThread(std::function<void()> body, std::function<void()> requestStop)
    : requestStop_(std::move(requestStop)) {
    auto* owned = new std::function<void()>(std::move(body));
    thread_ = ::CreateThread(nullptr, 0, RunBody, owned, 0, nullptr);
    if (thread_ == nullptr) {
        delete owned;
    }
}

StoppableThread::StoppableThread(StoppableThread&& other) noexcept
    : thread_(std::exchange(other.thread_, nullptr)), requestStop_(std::move(other.requestStop_)) {}

StoppableThread& StoppableThread::operator=(StoppableThread&& other) noexcept {
    if (this != &other) {
        Release();
        thread_ = std::exchange(other.thread_, nullptr);
        requestStop_ = std::move(other.requestStop_);
    }
    return *this;
}

StoppableThread::~StoppableThread() {
    Release();
}

void StoppableThread::Release() {
    if (thread_ != nullptr) {
        StopAndWait(kStopWaitMs);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
}

bool StoppableThread::StopAndWait(DWORD milliseconds) {
    if (thread_ == nullptr) {
        return true;
    }
    if (requestStop_) {
        requestStop_();
    }
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        ULONGLONG now = ::GetTickCount64();
        DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        DWORD woken = ::MsgWaitForMultipleObjects(1, &thread_, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) {
            return true;
        }
        if (woken != WAIT_OBJECT_0 + 1) {
            return false; // the time is up, or the wait itself failed
        }
        // Peeking delivers the messages sent to this thread's windows; nothing posted is taken.
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
