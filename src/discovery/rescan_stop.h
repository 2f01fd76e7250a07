// What ends one console's rescan loop when the console closes: a request that also cuts its
// 20 s sleep short, so the loop is over within the scan it may be in (about a second).
#pragma once

#include <condition_variable>
#include <mutex>

class RescanStop {
public:
    void Request();
    bool Requested() const;
    // Sleeps for the given time or until a request; true when a request ended it.
    bool SleepFor(int milliseconds) const;

private:
    mutable std::mutex lock_;
    mutable std::condition_variable wake_;
    bool requested_ = false;
};
