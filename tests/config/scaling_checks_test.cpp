#include <gtest/gtest.h>

#include <cmath>

#include "codec_bench.h"

namespace sigcond {
namespace {

using test::CodecBench;

bool isHexCode(const std::string& code, std::size_t width) {
    if (code.size() != width) return false;
    for (char c : code)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

struct ScalingBench : CodecBench {
    ScalingBench() {
        p.form1.Label8[0].caption = "Input 1";
        p.form1.Label8[2].caption = "Input 2";
        slot(4) = "untouched";
        slot(7) = "--";
        p.registers.scaleOffset = {"", "keep05", "keep06"};
    }
    void scaling(const char* in1, const char* out1, const char* in2, const char* out2) {
        p.config.scalingText = {"", in1, out1, in2, out2};
    }
};

TEST(ScalingChecks, InputsCloserThanOneTenthAreReportedAndNothingIsCoded) {
    ScalingBench b;
    b.scaling("10", "4", "10.05", "20");
    EXPECT_FALSE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.p.screen.abortFlag, 1);
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 3u);
    EXPECT_EQ(b.p.form1.Picture1.lines[2], "  | Input 2 -- Input 1 |  should be ");
    EXPECT_EQ(b.slot(4), "untouched");
    EXPECT_EQ(b.p.registers.scaleOffset[1], "keep05");
    EXPECT_EQ(b.slot(7), "--");  // the encoder stopped at the scaling slot
    EXPECT_EQ(b.slot(1), "00");  // slots before it were coded
}

TEST(ScalingChecks, DesiredOutputsOutsideTheFullScaleAreReported) {
    ScalingBench b;
    b.scaling("0", "-1", "100", "20");
    EXPECT_FALSE(encodeConfiguration(b.p));
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 4u);
    EXPECT_EQ(b.p.form1.Picture1.lines[2], "      DESIRED OUTPUTS  should be ");
    EXPECT_EQ(b.p.form1.Picture1.lines[3], "      between 0 and 20.0000  mA.");
    EXPECT_EQ(b.slot(4), "untouched");

    b.scaling("0", "0", "100", "20.0001");
    b.p.link.linkError = 0;
    EXPECT_FALSE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.link.linkError, 1);

    // The full scale follows the output mode picked, refreshed by the encoder itself.
    b.scaling("0", "0", "100", "15");
    b.p.link.linkError = 0;
    EXPECT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.link.linkError, 0);
    b.choice(2, 3) = 2;  // Volt
    EXPECT_FALSE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.form1.Picture1.lines[3], "      between 0 and 10.0000  Volt.");
}

TEST(ScalingChecks, CapturedReadingsReplaceTheInputsInTheLineAndItsChecks) {
    ScalingBench b;
    b.scaling("  -12.34", "4", "1000", "20");
    b.p.live.capturedInput[1] = 0.0;
    b.p.live.capturedInput[2] = 100.0;
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.16);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, 4.0);
    // The typed (shown) texts are what slot 4 carries; a leading blank does not hide the sign.
    EXPECT_EQ(b.p.registers.scalePairLow, "509C40B004D2");

    // Typed inputs far apart, captured readings equal: the line through the captured points
    // has no slope, so it is refused instead of coding an infinite scale.
    b.p.live.capturedInput[1] = 5.0;
    b.p.live.capturedInput[2] = 5.05;
    b.slot(4) = "untouched";
    EXPECT_FALSE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.slot(4), "untouched");
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.16);

    // Only one point captured.
    b.p.live.capturedInput[1].reset();
    b.p.live.capturedInput[2] = 1000.0;
    b.scaling("0", "0", "0", "20");  // typed Input 2 alone would fail the span check
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.02);
}

TEST(ScalingChecks, ExtremeInputsNeverGiveUndefinedOrOversizedCodes) {
    ScalingBench b;
    struct Case {
        const char* in1;
        const char* in2;
    };
    const Case cases[] = {{"100000", "100000.1"}, {"-100000", "-99999.9"}, {"1E300", "-1E300"},
                          {"1E308", "-1E308"},    {"0", "1E-300"},         {"-1E20", "1E20"}};
    for (const Case& c : cases) {
        b.scaling(c.in1, "0", c.in2, "20");
        b.p.link.linkError = 0;
        const bool coded = encodeConfiguration(b.p);
        if (!coded) {
            EXPECT_EQ(b.p.link.linkError, 1) << c.in1;
            continue;
        }
        EXPECT_TRUE(std::isfinite(b.p.live.outputScale)) << c.in1;
        EXPECT_TRUE(std::isfinite(b.p.live.outputOffset)) << c.in1;
        EXPECT_TRUE(isHexCode(b.p.registers.scaleOffset[1], 6)) << b.p.registers.scaleOffset[1];
        EXPECT_TRUE(isHexCode(b.p.registers.scaleOffset[2], 6)) << b.p.registers.scaleOffset[2];
        EXPECT_TRUE(isHexCode(b.slot(4), 24)) << b.slot(4);
    }
    // Inputs exactly 0.1 apart are far enough; an offset below the lowest code is held there.
    b.scaling("0", "0", "0.1", "20");
    ASSERT_TRUE(encodeConfiguration(b.p));
    b.scaling("900000", "0", "900000.125", "20");
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, -1e8);
    // An offset far below -1000000 (0 - 200 x 100000) loses digits, not its size: 199999 x 100.
    b.scaling("100000", "0", "100000.1", "20");
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.registers.scaleOffset[2], "830D3F");
    EXPECT_NEAR(b.p.live.outputOffset, -2e7, 0.01);
    b.scaling("-100000", "20", "-99999.9", "0");
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.registers.scaleOffset[2], "830D3F");

    // Scale limits on both sides.
    EXPECT_EQ(encodeScaleCode(-600000), "1FFEE0");
    EXPECT_EQ(encodeScaleCode(-1e30), "1FFEE0");
    EXPECT_EQ(encodeScaleCode(1e30), "17FEE0");
    EXPECT_EQ(encodeScaleCode(std::nan("")), "100000");
    // Below -100000000 the exponent digit would leave its field: 1000000 x 100 is the lowest.
    EXPECT_EQ(encodeOffsetCode(-1e30), "8F4240");
    EXPECT_EQ(encodeOffsetCode(-HUGE_VAL), "8F4240");
    EXPECT_EQ(encodeOffsetCode(-1e-9), "200000");  // rounds to zero, which has no sign
    EXPECT_DOUBLE_EQ(decodeScaleCode("1FFEE0"), -524000);
    EXPECT_DOUBLE_EQ(decodeScaleCode("180000"), 0);  // the sign bit alone: minus zero
    EXPECT_DOUBLE_EQ(decodeOffsetCode("8F4240"), -1e8);

    // Typed texts wider than the fields keep the code six digits long.
    EXPECT_EQ(encodeScalingValue("1.2345678", false, false), "61E241");
    EXPECT_EQ(encodeScalingValue("-.123456", false, false), "E0303A");
    EXPECT_EQ(encodeScalingValue("99999999", false, false), "1FFFFF");
    EXPECT_EQ(encodeScalingValue("99999.9", false, false), "2F423F");  // just fits six digits
    EXPECT_EQ(encodeScalingValue("99999999", true, false), "5FFFFF");
    EXPECT_EQ(encodeScalingValue("-5", false, true), "000000");
    // A negative input of exactly 100000 digits gives up a decimal: five digits when negative.
    EXPECT_EQ(encodeScalingValue("-10.0000", false, false), "C02710");
    // The widest that fit: 99999 when negative, 999999 when not.
    EXPECT_EQ(encodeScalingValue("-9.9999", false, false), "D1869F");
    EXPECT_EQ(encodeScalingValue("10.00000", false, false), "5186A0");
    EXPECT_EQ(encodeScalingValue("-.000001", false, false), "E00000");
    // More decimals than the format digit holds: cut to D = 7, not read as a sign.
    EXPECT_EQ(encodeScalingValue("0.0000001", false, false), "700000");
    // A negative code with D = 7 reads as six decimals, all that five digits hold.
    EXPECT_EQ(decodeScalingValue("F00001", false, false), "-.00001");
}

TEST(ScalingChecks, PartialSendSkipsScalingEntirely) {
    ScalingBench b;
    b.scaling("0", "4", "0", "40");  // would fail both checks
    b.choice(3, 1) = 3;
    b.p.transfer.partialSend = 1;
    EXPECT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_EQ(b.slot(3), "02");
    EXPECT_EQ(b.slot(4), "untouched");
    EXPECT_EQ(b.p.registers.scaleOffset[1], "keep05");
    EXPECT_EQ(b.slot(7), "01");
}

}  // namespace
}  // namespace sigcond
