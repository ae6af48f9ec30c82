// Faults that come and go during a long run: silences on the unit's clock, a "?" to every n-th
// reading request, noise ahead of every n-th reading reply, and readings that count, so that
// a run can tell which reading went where.
#include <gtest/gtest.h>

#include "sim/model/sim_options.h"
#include "sim/model/unit_model.h"

namespace sigcond::sim {
namespace {

const LineSettings kUnitLine{9600, 'O', 7, 1};

std::string exchange(UnitModel& unit, const std::string& command, double seconds) {
    unit.receive("*" + command + "\r", kUnitLine, seconds);
    return unit.takeOutput(seconds + 60.0);
}

UnitModel unitFrom(const std::vector<std::string>& args) {
    std::string error;
    const auto options = parseSimOptions(args, error);
    EXPECT_TRUE(options.has_value()) << error;
    UnitModel unit;
    if (options) {
        EXPECT_TRUE(configureUnit(*options, unit, error)) << error;
    }
    return unit;
}

TEST(FaultsNowAndThen, RejectionsAndNoiseComeEveryNthReadingAndCountedReadingsSkipNone) {
    UnitModel unit = unitFrom({"--count", "--reject-every", "3", "--noise-every", "2", "--noise",
                               "#~", "--decimals", "1"});
    std::vector<std::string> replies;
    for (int i = 0; i < 7; ++i) replies.push_back(exchange(unit, "X01", i * 0.5));
    // Requests 3 and 6 are rejected (6 is also due for noise); 2 and 4 carry noise. A
    // rejected request takes no number: the readings go on 1, 2, 3 ... without a gap.
    EXPECT_EQ(replies,
              (std::vector<std::string>{"X01    1.0\r", "#~X01    2.0\r", "?\r", "#~X01    3.0\r",
                                        "X01    4.0\r", "#~?\r", "X01    5.0\r"}));
    // Other commands neither count nor meet these faults.
    EXPECT_EQ(exchange(unit, "R01", 4.0), "R0129\r");
    EXPECT_EQ(exchange(unit, "X01", 4.5), "#~X01    6.0\r");

    const auto lines = unit.frameLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "9600,O,7,1 X01");
    EXPECT_EQ(lines[1], "9600,O,7,1 X01 !noise");
    EXPECT_EQ(lines[2], "9600,O,7,1 X01 !reject");
    EXPECT_EQ(lines[5], "9600,O,7,1 X01 !reject,noise");
    EXPECT_EQ(lines[7], "9600,O,7,1 R01");
}

TEST(FaultsNowAndThen, SilencesCloseEachPeriodCountedFromTheFirstFrame) {
    UnitModel unit = unitFrom({"--silence-every", "10,3", "--count"});
    const double start = 100.0;  // the unit's clock need not start at 0
    EXPECT_EQ(exchange(unit, "R01", start), "R0129\r");
    EXPECT_EQ(exchange(unit, "X01", start + 6.9), "X01   1.00\r");
    EXPECT_EQ(exchange(unit, "X01", start + 7.0), "");
    EXPECT_EQ(exchange(unit, "R01", start + 9.9), "");
    EXPECT_EQ(exchange(unit, "X01", start + 10.1), "X01   2.00\r");
    EXPECT_EQ(exchange(unit, "X01", start + 28.5), "");
    EXPECT_EQ(exchange(unit, "X01", start + 30.0), "X01   3.00\r");
    EXPECT_EQ(unit.frameLines()[2], "9600,O,7,1 X01 !silence");

    for (const std::vector<std::string>& refused :
         std::vector<std::vector<std::string>>{{"--silence-every", "3,10"},
                                               {"--silence-every", "10"},
                                               {"--silence-every", "10,0"},
                                               {"--reject-every", "0"},
                                               {"--noise-every", "x"}}) {
        std::string error;
        EXPECT_FALSE(parseSimOptions(refused, error).has_value()) << refused[1];
    }
}

}  // namespace
}  // namespace sigcond::sim
