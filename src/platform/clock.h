// Time as the core needs it: a monotonic count for timeouts, and the local time and date
// that data-log records carry.
#pragma once

#include <string>

namespace sigcond {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary start; never goes backwards (does not wrap at midnight).
    virtual double monotonicSeconds() = 0;
    // Local time of day as "hh:mm:ss".
    virtual std::string timeOfDay() = 0;
    // Local date as "mm-dd-yyyy".
    virtual std::string date() = 0;
};

}  // namespace sigcond
