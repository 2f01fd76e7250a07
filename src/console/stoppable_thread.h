// A thread the window thread that started it can stop and wait for. The console runs its
// rescan on one and ends it as it closes, so that the program never ends with a scan half
// done: a process that ends while its probe threads are being started or torn down can be
// left hanging in its own exit, windowless, and then blocks the next start as "already
// running".
#pragma once

#include <windows.h>

#include <functional>

class StoppableThread {
public:
    StoppableThread() = default;
    // Runs body on a new thread; requestStop is what asks it to end. Started() tells whether a
    // thread could be started.
    StoppableThread(std::function<void()> body, std::function<void()> requestStop);
    StoppableThread(StoppableThread&& other) noexcept;
    StoppableThread& operator=(StoppableThread&& other) noexcept;
    StoppableThread(const StoppableThread&) = delete;
    StoppableThread& operator=(const StoppableThread&) = delete;
    // Stops the thread and waits for it as StopAndWait(kStopWaitMs) does.
    ~StoppableThread();

    static constexpr DWORD kStopWaitMs = 5000;

    bool Started() const { return thread_ != nullptr; }

    // Asks the body to end and waits at most the given time for the thread to end, meanwhile
    // answering what other threads send to this thread's windows (the body may be waiting on
    // such a send). True when the thread has ended or none was started; a thread that has not
    // ended by then is left to run.
    bool StopAndWait(DWORD milliseconds);

private:
    void Release();

    HANDLE thread_ = nullptr;
    std::function<void()> requestStop_;
};
