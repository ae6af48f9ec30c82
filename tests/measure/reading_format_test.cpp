#include "measure/reading_format.h"

#include <gtest/gtest.h>

namespace sigcond {
namespace {

TEST(ReadingFormat, OutputValueIsOffsetPlusScaleTimesReadingWithinTheLimits) {
    EXPECT_DOUBLE_EQ(computeOutputValue("  500", 0.016, 4, 20), 12.0);
    EXPECT_DOUBLE_EQ(computeOutputValue("1000", 0.1, 0, 20), 24.0);    // 100 mA held at 24
    EXPECT_DOUBLE_EQ(computeOutputValue("-1000", 0.1, 0, 20), -0.28);  // held at -0.28 mA
    EXPECT_DOUBLE_EQ(computeOutputValue("1000", 0.1, 0, 10), 12.0);
    EXPECT_DOUBLE_EQ(computeOutputValue("-1000", 0.1, 0, 10), -0.14);
    EXPECT_DOUBLE_EQ(computeOutputValue("abc", 2, 4, 20), 4.0);  // no number counts as 0
}

TEST(ReadingFormat, SevenCharactersPadsAndCuts) {
    EXPECT_EQ(fitToSevenCharacters("4"), "4.00000");
    EXPECT_EQ(fitToSevenCharacters("1.5"), "1.50000");
    EXPECT_EQ(fitToSevenCharacters("-0.28"), "-0.2800");
    EXPECT_EQ(fitToSevenCharacters("12.34567"), "12.3456");
    EXPECT_EQ(fitToSevenCharacters("24"), "24.0000");
    EXPECT_EQ(fitToSevenCharacters("1.2345"), "1.23450");
    EXPECT_EQ(fitToSevenCharacters("123456"), "123456.");
    EXPECT_EQ(fitToSevenCharacters("1E-07"), "0.00000");
    EXPECT_EQ(fitToSevenCharacters("1.5E-05"), "0.00001");
}

TEST(ReadingFormat, ThreeDecimalsCutWithoutRounding) {
    EXPECT_EQ(formatThreeDecimals("4"), "4.000");
    EXPECT_EQ(formatThreeDecimals("12.34567"), "12.345");
    EXPECT_EQ(formatThreeDecimals("-0.28"), "-0.280");
    EXPECT_EQ(formatThreeDecimals("4.19999"), "4.199");
    EXPECT_EQ(formatThreeDecimals("1E-07"), "0.000");
    EXPECT_EQ(formatThreeDecimals("0.001"), "0.001");
    EXPECT_EQ(formatThreeDecimals("2.5E-05"), "0.000");  // never an exponent on screen
}

TEST(ReadingFormat, OverRangeMarkFollowsTheSignBeforeTheE) {
    EXPECT_EQ(markOverRange("-1.2E+3"), "?-999999");
    EXPECT_EQ(markOverRange(" 1.2E-3"), "?+999999");  // the "-" after the E does not count
    EXPECT_EQ(markOverRange("  ERR  "), "?+999999");
    EXPECT_EQ(markOverRange("  12.34"), "  12.34");
    EXPECT_EQ(markOverRange(""), "");
    EXPECT_TRUE(scansForOverRange("ST"));
    EXPECT_TRUE(scansForOverRange("PR"));
    EXPECT_TRUE(scansForOverRange("FP"));
    EXPECT_FALSE(scansForOverRange("TC"));
    EXPECT_FALSE(scansForOverRange("ACV"));
}

TEST(ReadingFormat, AcReadingKeepsFiveCharactersAndABlank) {
    EXPECT_EQ(formatAcReading(" 1.23456"), "1.234 ");
    EXPECT_EQ(formatAcReading("123.4567"), "123.4 ");
    EXPECT_EQ(formatAcReading("-0.1239"), "-0.12 ");
}

}  // namespace
}  // namespace sigcond
