// The clock and the sleep the port adapters wait with.
#pragma once

#include <chrono>
#include <thread>

namespace sigcond::port_timing {

// Monotonic seconds: a wait is measured so that it never goes backwards.
inline double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Waiting on a port that cannot deliver anything still takes the time asked for: the caller's
// loop relies on it instead of spinning.
inline void idle(int timeoutMs) {
    if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

}  // namespace sigcond::port_timing
