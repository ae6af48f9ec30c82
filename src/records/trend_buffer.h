// The trend buffer: the latest readings for the graph window, oldest first, filled by the
// live-reading cycle on every second good reading.
#pragma once

#include <array>
#include <string>

namespace sigcond {

inline constexpr int kTrendPoints = 26;

struct TrendBuffer {
    std::array<double, 121> trendValues{};  // slots 1..26 used, oldest first
    int trendCount = 0;                     // valid points, 0..26
    int trendSlot = 0;                      // slot the next point goes into (before the shift)
    int trendToggle = 0;                    // alternates on each good reading; 0 = store this one
    std::string trendUnitText;              // unit of the readings when the graph was opened
};

}  // namespace sigcond
