#include "measure/scaling_rules.h"

#include <gtest/gtest.h>

namespace sigcond {
namespace {

ScalingCheck check(std::array<std::string, 4> boxes, bool fromBox1, int liveStep = 0,
                   double fullScale = 20, const std::string& unit = "  mA") {
    return checkScalingEntry(boxes, fullScale, unit, fromBox1, liveStep, "Input 1", "Input 2");
}

TEST(ScalingChecks, RangeMessageEndsInTheFullScaleAndUnit) {
    const ScalingCheck over = check({"0", "4", "1000", "25"}, true);
    EXPECT_EQ(over.fault, ScalingFault::Range);
    EXPECT_EQ(over.message,
              "'Desired output 1'  or  'Desired output 2'  should be between  0  and   20  mA");
    // Above the full scale counts from any box; a negative output only from box 1.
    EXPECT_EQ(check({"0", "4", "1000", "25"}, false).fault, ScalingFault::Range);
    const ScalingCheck negative = check({"0", "-1", "1000", "5"}, true, 0, 10, "  Volt");
    EXPECT_EQ(negative.fault, ScalingFault::Range);
    EXPECT_EQ(negative.message,
              "'Desired output 1'  or  'Desired output 2'  should be between  0  and   10  Volt");
    EXPECT_EQ(check({"0", "-1", "1000", "5"}, false).fault, ScalingFault::None);
    // Step 1 of live scaling: only the full-scale limit.
    EXPECT_EQ(check({"0", "-1", "0", "5"}, true, 1).fault, ScalingFault::None);
    EXPECT_EQ(check({"0", "25", "0", "5"}, true, 1).fault, ScalingFault::Range);
}

TEST(ScalingChecks, SpanAndDistinctOutputsFromDesiredOutput1Only) {
    const ScalingCheck span = check({"4", "4", "4.05", "20"}, true);
    EXPECT_EQ(span.fault, ScalingFault::Span);
    EXPECT_EQ(span.message, "| Input 2  -  Input 1 |  SHOULD BE BIGGER THAN  0.1");
    EXPECT_EQ(check({"4", "4", "4.05", "20"}, false).fault, ScalingFault::None);
    EXPECT_EQ(check({"4", "4", "4.2", "20"}, true).fault, ScalingFault::None);

    const ScalingCheck same = check({"0", "12", "1000", "12"}, true);
    EXPECT_EQ(same.fault, ScalingFault::SameOutputs);
    EXPECT_EQ(same.message, "'Desired output 1'  should be different from 'Desired output 2'");
    EXPECT_EQ(check({"0", "12", "1000", "12"}, true, 2).fault, ScalingFault::SameOutputs);
    EXPECT_EQ(check({"0", "12", "1000", "12"}, true, 1).fault, ScalingFault::None);
}

TEST(UnityScale, CodesPerTypeAndRange) {
    EXPECT_EQ(unityScaleCode("TC", 20, 0), "300002");
    EXPECT_EQ(unityScaleCode("RTD", 20, 0), "300002");
    EXPECT_EQ(unityScaleCode("TC", 10, 0), "300001");
    EXPECT_EQ(unityScaleCode("PR", 20, 5000), "100001");   // 20 mA in, 20 mA out
    EXPECT_EQ(unityScaleCode("PR", 20, 250), "300005");    // 400 mV: 0.05
    EXPECT_EQ(unityScaleCode("ACV", 10, 25000), "200019"); // 4 V in, 10 V out: 2.5 = 25 / 10
    EXPECT_EQ(unityScaleCode("ACC", 20, 20000), "100004"); // 5 A: 4
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
