#include "measure/scaling_rules.h"

#include <gtest/gtest.h>

namespace sigcond {
namespace {

ScalingCheck check(std::array<std::string, 4> boxes, bool fromBox1, int liveStep = 0,
                   double fullScale = 20, const std::string& unit = "  mA") {
    return checkScalingEntry(boxes, fullScale, unit, fromBox1, liveStep, "Input 1", "Input 2");
}

// The message texts are checked through the panel; here, which checks run when.
TEST(ScalingChecks, WhichChecksRunFromWhichBoxAndStep) {
    // Above the full scale counts from any box; a negative output only from box 1.
    EXPECT_EQ(check({"0", "4", "1000", "25"}, false).fault, ScalingFault::Range);
    EXPECT_EQ(check({"0", "-1", "1000", "5"}, true).fault, ScalingFault::Range);
    EXPECT_EQ(check({"0", "-1", "1000", "5"}, false).fault, ScalingFault::None);
    EXPECT_EQ(check({"0", "0", "1000", "20"}, true).fault, ScalingFault::None);  // both ends
    EXPECT_EQ(check({"0", "20", "1000", "0.5"}, true).fault, ScalingFault::None);
    EXPECT_EQ(check({"0", "20", "1000", "0"}, true).fault, ScalingFault::None);
    // Span and equal outputs only from box 1.
    EXPECT_EQ(check({"4", "4", "4.05", "20"}, true).fault, ScalingFault::Span);
    EXPECT_EQ(check({"4", "20", "4.05", "4"}, true).fault, ScalingFault::Span);
    EXPECT_EQ(check({"0", "4", "0.1", "20"}, true).fault, ScalingFault::Span);  // 0.1 is too close
    EXPECT_EQ(check({"4", "4", "4.05", "20"}, false).fault, ScalingFault::None);
    EXPECT_EQ(check({"4", "4", "4.2", "20"}, true).fault, ScalingFault::None);
    EXPECT_EQ(check({"0", "12", "1000", "12"}, false).fault, ScalingFault::None);
    // Step 1 of live scaling: only the full-scale limit; step 2 checks everything.
    EXPECT_EQ(check({"0", "-1", "0", "5"}, true, 1).fault, ScalingFault::None);
    EXPECT_EQ(check({"0", "25", "0", "5"}, true, 1).fault, ScalingFault::Range);
    EXPECT_EQ(check({"0", "12", "1000", "12"}, true, 2).fault, ScalingFault::SameOutputs);
}

TEST(UnityScale, CodesPerTypeAndRange) {
    EXPECT_EQ(unityScaleCode("TC", 20, 0), "300002");
    EXPECT_EQ(unityScaleCode("RTD", 20, 0), "300002");
    EXPECT_EQ(unityScaleCode("TC", 10, 0), "300001");
    EXPECT_EQ(unityScaleCode("PR", 20, 5000), "100001");    // 20 mA in, 20 mA out
    EXPECT_EQ(unityScaleCode("PR", 20, 250), "300005");     // 400 mV: 0.05
    EXPECT_EQ(unityScaleCode("ACV", 10, 25000), "200019");  // 4 V in, 10 V out: 2.5 = 25 / 10
    EXPECT_EQ(unityScaleCode("ACC", 20, 20000), "100004");  // 5 A: 4
    EXPECT_EQ(unityScaleCode("FP", 20, 0), "");
    // 30 mV strain range: 0.6666.. is rounded to what the register holds.
    const std::string strain = unityScaleCode("ST", 20, 3333.33);
    ASSERT_EQ(strain.size(), 6u);
    EXPECT_NEAR(scaleCodeValue(strain), 20.0 / 30.0, 1e-4);
    EXPECT_DOUBLE_EQ(scaleCodeValue("300002"), 0.02);
    EXPECT_DOUBLE_EQ(scaleCodeValue("100001"), 1.0);
}

}  // namespace
}  // namespace sigcond
