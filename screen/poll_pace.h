// How long the screen server waits before it reads the screen again while a viewer watches.
// Reading the whole screen is the server's main cost, so a screen that stays still is read less
// and less often: the poll interval while things change, doubled after every ten reads that
// found nothing new, up to eight times the interval. A change, or input from the viewer, brings
// the interval back at once; the first change after a still spell waits at most the longer one.
#pragma once

#include <algorithm>
#include <chrono>

inline constexpr int kQuietReadsPerStep = 10;
inline constexpr int kMaxPollStretch = 8;

inline std::chrono::milliseconds PollWait(std::chrono::milliseconds interval, int quietReads) {
    int stretch = 1;
    for (int step = std::max(quietReads, 0) / kQuietReadsPerStep;
         step > 0 && stretch < kMaxPollStretch; --step) {
        stretch *= 2;
    }
    return interval * stretch;
}
