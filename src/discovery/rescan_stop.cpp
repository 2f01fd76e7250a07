#include "discovery/rescan_stop.h"

#include <chrono>

void RescanStop::Request() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        requested_ = true;
    }
    wake_.notify_all();
}

bool RescanStop::Requested() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requested_;
}

bool RescanStop::SleepFor(int milliseconds) const {
    std::unique_lock<std::mutex> guard(lock_);
    return wake_.wait_for(guard, std::chrono::milliseconds(milliseconds),
                          [this] { return requested_; });
}
