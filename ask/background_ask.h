// Runs one request off the window thread. The thread never touches a window: it keeps the
// attempt and calls done, which posts a message to the window; the window thread then takes
// the attempt. Destroying the object waits for a request still on its way, which its own
// bounded waits end within seconds.
#pragma once

#include "ask/ask_attempt.h"

#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class BackgroundAsk {
public:
    BackgroundAsk() = default;
    ~BackgroundAsk();
    BackgroundAsk(const BackgroundAsk&) = delete;
    BackgroundAsk& operator=(const BackgroundAsk&) = delete;

    // Runs job on a thread of its own and calls done on that thread once the attempt is kept.
    // False, and nothing runs, while an earlier attempt has not been taken or when no thread
    // can be started.
    bool Start(std::function<AskAttempt()> job, std::function<void()> done);

    // The finished attempt, once; nullopt while it runs or when there is none. Never waits,
    // so done may call it too.
    std::optional<AskAttempt> Take();

private:
    std::mutex lock_;
    bool busy_ = false; // from Start until its attempt is taken
    std::optional<AskAttempt> attempt_;
    std::thread thread_;
};
