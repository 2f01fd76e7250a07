// The splash's hand-over state: the first scan runs on a worker while the splash shows, and
// the splash's two-second timer hands over to the console at its first tick after the scan.
#pragma once

#include <functional>
#include <mutex>

class FirstScanHandOver {
public:
    // Starts the worker on the first call only (also when it cannot be started: no second
    // attempt is made). Called on the window thread.
    void StartOnce(const std::function<void()>& startWorker);
    bool Started() const { return firstScanStarted_; }

    // The worker's last step.
    void MarkDone();

    // Tests whether the scan has ended; if it has, runs endSplash while the lock is held
    // (the splash ends its modal loop and kills its timers) and answers true.
    bool HandOverIfDone(const std::function<void()>& endSplash);

private:
    bool firstScanStarted_ = false; // window thread only
    std::mutex splashLock_;         // guards firstScanDone_
    bool firstScanDone_ = false;
};

// The process-wide hand-over of the one splash.
FirstScanHandOver& TheFirstScanHandOver();
