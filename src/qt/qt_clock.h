// The clock seam on the host: a steady clock for timeouts, the local time for records.
#pragma once

#include "platform/clock.h"

namespace sigcond {

class SystemClock : public Clock {
public:
    double monotonicSeconds() override;
    std::string timeOfDay() override;  // "hh:mm:ss"
    std::string date() override;       // "mm-dd-yyyy"
};

}  // namespace sigcond
