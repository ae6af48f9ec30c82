#include <gtest/gtest.h>

#include "qt/records_chart.h"

namespace sigcond::qt {
namespace {

TEST(TrendChart, ValueAxisRunsBetweenRoundNumbersAroundTheReadings) {
    struct Case {
        double low, high;
        ChartAxis axis;
    } cases[] = {
        {21.5, 24.2, {21.0, 25.0, 5, 1}},
        {5.0, 5.0, {4.0, 6.0, 5, 2}},  // all equal: a unit either side
        {0.0, 0.0, {-1.0, 1.0, 5, 2}},
        {-3.0, 250.0, {-100.0, 300.0, 5, 1}},
        {24.2, 21.5, {21.0, 25.0, 5, 1}},
    };
    for (const Case& c : cases) {
        const ChartAxis axis = valueAxisFor(c.low, c.high);
        EXPECT_DOUBLE_EQ(axis.low, c.axis.low) << c.low << " " << c.high;
        EXPECT_DOUBLE_EQ(axis.high, c.axis.high) << c.low << " " << c.high;
        EXPECT_EQ(axis.ticks, c.axis.ticks) << c.low << " " << c.high;
        EXPECT_EQ(axis.decimals, c.axis.decimals) << c.low << " " << c.high;
    }
}

}  // namespace
}  // namespace sigcond::qt
