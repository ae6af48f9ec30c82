#include "sim/model/sim_options.h"

#include <gtest/gtest.h>

namespace sigcond::sim {
namespace {

TEST(SimOptions, BuildsTheUnitTheCommandLineDescribes) {
    std::string error;
    const auto options = parseSimOptions({"--type",
                                          "fp",
                                          "--baud",
                                          "4800",
                                          "--parity",
                                          "E",
                                          "--reading",
                                          "12.5",
                                          "--decimals",
                                          "1",
                                          "--register",
                                          "0D=14",
                                          "--reject",
                                          "R03=2",
                                          "--silent-for",
                                          "R05,W0814",
                                          "--partial",
                                          "3",
                                          "--partial-for",
                                          "X01",
                                          "--delay",
                                          "250",
                                          "--wire-time",
                                          "--ignore-write",
                                          "04",
                                          "--noise",
                                          "#",
                                          "--drop-every",
                                          "7"},
                                         error);
    ASSERT_TRUE(options.has_value()) << error;
    UnitModel unit;
    ASSERT_TRUE(configureUnit(*options, unit, error)) << error;
    EXPECT_EQ(unit.type(), UnitType::FP);
    EXPECT_EQ(unit.faults().answerAt, (LineSettings{4800, 'E', 7, 1}));
    EXPECT_EQ(readingText(unit.reading(), 0), "   12.5");  // decimals apply in any order
    EXPECT_EQ(unit.registerValue("0D"), "14");
    EXPECT_EQ(unit.faults().rejections.at("R03"), 2);
    EXPECT_EQ(unit.faults().silentCommands, (std::set<std::string>{"R05", "W0814"}));
    EXPECT_EQ(unit.faults().partialLength, 3);
    EXPECT_DOUBLE_EQ(unit.faults().replyDelaySeconds, 0.25);
    EXPECT_TRUE(unit.faults().wireTime);
    EXPECT_EQ(unit.faults().ignoredWrites.count("04"), 1u);
    EXPECT_EQ(unit.faults().noise, "#");
    EXPECT_EQ(unit.faults().dropEvery, 7);

    const auto wave = parseSimOptions({"--wave", "50,10,20", "--reading-text", "?+99999"}, error);
    ASSERT_TRUE(wave.has_value());
    EXPECT_EQ(wave->reading.kind, ReadingSource::Kind::Text);  // the last reading option wins
}

TEST(SimOptions, RefusesWhatItCannotUse) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--type", "XYZ"},
                                               {"--baud", "fast"},
                                               {"--parity", "M"},
                                               {"--reject", "R03"},
                                               {"--wave", "1,2"},
                                               {"--delay", "-5"},
                                               {"--silent-from"},
                                               {"--listen", "5000"},
                                               {"--listen", "::1:5000"},
                                               {"--listen", "host:65536"},
                                               {"--frobnicate"}}) {
        std::string error;
        EXPECT_FALSE(parseSimOptions(args, error).has_value()) << args.back();
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    const auto ipv6 = parseSimOptions({"--listen", "[::1]:5000"}, error);
    ASSERT_TRUE(ipv6.has_value()) << error;
    EXPECT_EQ(ipv6->listen->host + " " + std::to_string(ipv6->listen->port), "::1 5000");
    const auto options = parseSimOptions({"--register", "01=2"}, error);
    ASSERT_TRUE(options.has_value());
    UnitModel unit;
    EXPECT_FALSE(configureUnit(*options, unit, error));  // one digit for a two-digit register
}

}  // namespace
}  // namespace sigcond::sim
