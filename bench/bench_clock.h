// The two clocks the benchmarks read: wall time since a moment, and the processor time this
// process has used so far (user and system).
#pragma once

#include <sys/resource.h>

#include <chrono>

namespace sigcond::bench {

using Steady = std::chrono::steady_clock;

inline double secondsSince(Steady::time_point start) {
    return std::chrono::duration<double>(Steady::now() - start).count();
}

inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace sigcond::bench
