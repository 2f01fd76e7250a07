#include "app/first_scan.h"

void FirstScanHandOver::StartOnce(const std::function<void()>& startWorker) {
    if (firstScanStarted_) {
        return;
    }
    startWorker();
    firstScanStarted_ = true;
}

void FirstScanHandOver::MarkDone() {
    std::lock_guard<std::mutex> hold(splashLock_);
    firstScanDone_ = true;
}

bool FirstScanHandOver::HandOverIfDone(const std::function<void()>& endSplash) {
    std::lock_guard<std::mutex> hold(splashLock_);
    if (!firstScanDone_) {
        return false;
    }
    endSplash();
    return true;
}

FirstScanHandOver& TheFirstScanHandOver() {
    // Never destroyed: the worker may still finish its scan while the process ends.
    static FirstScanHandOver* handOver = new FirstScanHandOver;
    return *handOver;
}
