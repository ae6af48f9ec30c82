#include "common/convert.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sigcond {
namespace {

TEST(TextToNumber, TakesTheLeadingNumericPart) {
    EXPECT_DOUBLE_EQ(textToNumber("  12.34"), 12.34);
    EXPECT_DOUBLE_EQ(textToNumber("-1.5"), -1.5);
    EXPECT_DOUBLE_EQ(textToNumber("4 mA"), 4.0);
    EXPECT_DOUBLE_EQ(textToNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(textToNumber("1E-07"), 1e-7);
    EXPECT_DOUBLE_EQ(textToNumber("2E"), 2.0);
    EXPECT_DOUBLE_EQ(textToNumber("12.3.4"), 12.3);
    EXPECT_DOUBLE_EQ(textToNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("ERROR"), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("?+"), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("-"), 0.0);
    // Overflowing exponents never give infinity.
    EXPECT_TRUE(std::isfinite(textToNumber("9E999999")));
}

TEST(NumberToText, UsesTheShortestGeneralForm) {
    EXPECT_EQ(numberToText(4), "4");
    EXPECT_EQ(numberToText(4, true), " 4");
    EXPECT_EQ(numberToText(-4, true), "-4");
    EXPECT_EQ(numberToText(0.016), "0.016");
    EXPECT_EQ(numberToText(-0.28), "-0.28");
    EXPECT_EQ(numberToText(12.34567), "12.34567");
    EXPECT_EQ(numberToText(1e-7), "1E-07");
    EXPECT_EQ(numberToText(-1.5e-5), "-1.5E-05");
    EXPECT_EQ(numberToText(0.0001), "0.0001");
    EXPECT_EQ(numberToText(600000), "600000");
    EXPECT_EQ(numberToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberToText(1e15), "1E+15");
    EXPECT_EQ(numberToText(0), "0");
    // Infinity never reaches the screen as a broken text.
    EXPECT_EQ(numberToText(INFINITY), "1.79769313486231E+308");
}

TEST(HexHelpers, ConvertBetweenHexBinaryAndNumbers) {
    EXPECT_DOUBLE_EQ(hexToNumber("14"), 20);
    EXPECT_DOUBLE_EQ(hexToNumber("FF"), 255);
    EXPECT_DOUBLE_EQ(hexToNumber(""), 0);
    EXPECT_EQ(hexToBinary("A5"), "10100101");
    EXPECT_EQ(hexToBinary("0"), "0000");
    EXPECT_EQ(binaryToHex("00101001"), "29");
    EXPECT_EQ(binaryToHex("00000000"), "0");
    EXPECT_EQ(numberToHex(2.5), "2");
    EXPECT_EQ(numberToHex(3.5), "4");
    EXPECT_EQ(numberToHex(600000), "927C0");
    EXPECT_EQ(padLeftZeros("4", 2), "04");
    EXPECT_EQ(padLeftZeros("123", 2), "123");
}

}  // namespace
}  // namespace sigcond
