// The console ignores a double click on a node that comes less than 500 ms after the
// previous one, accepted or not, so that an eager double-double click starts one viewer.
#pragma once

#include <cstdint>

class ActivationGuard {
public:
    static constexpr std::int64_t kMinimumGapMs = 500;

    // tickCount is the system's 32-bit millisecond tick. Widened with zero high bits, so a
    // tick that has wrapped since the last double click gives a negative gap and is ignored;
    // the next double click at least 500 ms later acts again.
    bool Accept(std::uint32_t tickCount) {
        std::int64_t now = static_cast<std::int64_t>(tickCount);
        std::int64_t gap = now - lastActivation_;
        lastActivation_ = now;
        return gap >= kMinimumGapMs;
    }

    std::int64_t LastActivation() const { return lastActivation_; }

private:
    std::int64_t lastActivation_ = 0;
};
