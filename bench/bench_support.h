// Small timing helpers shared by the benchmark programs (no benchmark library: the same
// programs run natively and under Wine).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace bench {

// CPU time of the whole process (all threads), in milliseconds.
inline double ProcessCpuMs() {
#if defined(_WIN32)
    FILETIME creation, exit, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
#else
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1000.0 + usage.ru_utime.tv_usec / 1000.0 +
           usage.ru_stime.tv_sec * 1000.0 + usage.ru_stime.tv_usec / 1000.0;
#endif
}

struct Sample {
    double wallMs;
    double cpuMs;
};

// Runs body `runs` times and returns each run's wall and CPU time.
template <typename Body> std::vector<Sample> Measure(int runs, Body body) {
    std::vector<Sample> samples;
    for (int run = 0; run < runs; ++run) {
        double cpuBefore = ProcessCpuMs();
        auto start = std::chrono::steady_clock::now();
        body();
        auto wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
        samples.push_back({wall.count(), ProcessCpuMs() - cpuBefore});
    }
    return samples;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n == 0 ? 0.0 : (n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

inline void Report(const char* what, const std::vector<Sample>& samples) {
    std::vector<double> wall, cpu;
    for (const Sample& sample : samples) {
        wall.push_back(sample.wallMs);
        cpu.push_back(sample.cpuMs);
    }
    std::printf("%-40s runs %3zu  median wall %9.2f ms  median cpu %9.2f ms  (min wall %.2f, max "
                "wall %.2f)\n",
                what, samples.size(), Median(wall), Median(cpu),
                *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()));
}

} // namespace bench
