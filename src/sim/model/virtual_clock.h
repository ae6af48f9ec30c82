// A clock that moves only when told to, so timeout tests take no real time.
#pragma once

#include <cstdio>
#include <string>

#include "platform/clock.h"

namespace sigcond::sim {

class VirtualClock : public Clock {
public:
    double monotonicSeconds() override { return seconds_; }
    std::string timeOfDay() override {
        const long total = static_cast<long>(startOfDay_ + seconds_) % 86400;
        char text[16];
        std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
        return text;
    }
    std::string date() override { return date_; }

    void advance(double seconds) { seconds_ += seconds; }
    void setTimeOfDay(double secondsSinceMidnight) {
        startOfDay_ = secondsSinceMidnight - seconds_;
    }
    void setDate(std::string mmddyyyy) { date_ = std::move(mmddyyyy); }

private:
    double seconds_ = 0.0;
    double startOfDay_ = 12 * 3600.0;
    std::string date_ = "12-08-2026";
};

}  // namespace sigcond::sim
