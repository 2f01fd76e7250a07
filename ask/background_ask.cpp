#include "ask/background_ask.h"

#include <exception>
#include <system_error>
#include <utility>

namespace {

// A job that fails in itself (out of memory) still ends the request with words for the student.
AskAttempt FailedAttempt() {
    AskAttempt attempt;
    attempt.result.outcome = AskOutcome::networkDown;
    attempt.description = "Your request was NOT sent: something went wrong on this computer. "
                          "Try again in a moment.";
    return attempt;
}

} // namespace

BackgroundAsk::~BackgroundAsk() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool BackgroundAsk::Start(std::function<AskAttempt()> job, std::function<void()> done) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (busy_) {
            return false;
        }
        busy_ = true;
    }
    // The earlier attempt was taken: its thread has at most done left to call.
    if (thread_.joinable()) {
        thread_.join();
    }
    try {
        thread_ = std::thread([this, job = std::move(job), done = std::move(done)] {
            AskAttempt attempt;
            try {
                attempt = job();
            } catch (const std::exception&) {
                attempt = FailedAttempt();
            }
            {
                std::lock_guard<std::mutex> hold(lock_);
                attempt_ = std::move(attempt);
            }
            done();
        });
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> hold(lock_);
        busy_ = false;
        return false;
    }
    return true;
}

std::optional<AskAttempt> BackgroundAsk::Take() {
    std::lock_guard<std::mutex> hold(lock_);
    std::optional<AskAttempt> taken = std::move(attempt_);
    attempt_.reset();
    if (taken) {
        busy_ = false;
    }
    return taken;
}
