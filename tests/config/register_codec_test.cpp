#include <gtest/gtest.h>

#include "codec_bench.h"

namespace sigcond {
namespace {

using test::CodecBench;

TEST(RegisterCodec, AllOptionsAtOneForThermocouple) {
    CodecBench b("TC");
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "00");
    EXPECT_EQ(b.slot(2), "00");
    EXPECT_EQ(b.slot(3), "00");
    EXPECT_EQ(b.slot(4), "5186A05186A0500000500000");
    EXPECT_EQ(b.slot(7), "01");
    EXPECT_EQ(b.slot(5), "FF");  // not an "FP" unit: gate and debounce keep their defaults
    EXPECT_EQ(b.slot(6), "FB");
    EXPECT_EQ(b.p.registers.scalePairLow, "500000500000");
    EXPECT_EQ(b.p.registers.scalePairHigh, "5186A05186A0");
    EXPECT_EQ(b.p.registers.scaleOffset[1], "20000A");  // scale 1
    EXPECT_EQ(b.p.registers.scaleOffset[2], "200000");  // offset 0
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 1.0);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, 0.0);
}

TEST(RegisterCodec, BitLayoutExamples) {
    CodecBench b("TC");
    b.choice(1, 1) = 3;  // T
    b.choice(1, 2) = 2;  // 50 Hz
    b.choice(2, 1) = 3;  // Kelvin
    b.choice(2, 2) = 2;  // no compensation
    b.choice(2, 3) = 2;  // Volt
    b.choice(3, 1) = 5;  // filter 16
    b.choice(7, 1) = 3;
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "82");
    EXPECT_EQ(b.slot(2), "86");
    EXPECT_EQ(b.slot(3), "04");
    EXPECT_EQ(b.slot(7), "03");

    b.build("RTD");
    b.choice(1, 1) = 1;  // 10 Ohm: code 3
    b.choice(1, 2) = 2;  // Nickel
    b.choice(1, 3) = 2;  // NIST
    b.choice(1, 4) = 3;  // 4 wires
    b.choice(1, 5) = 2;  // 50 Hz
    b.choice(2, 1) = 3;
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "AF");
    EXPECT_EQ(b.slot(2), "02");

    b.build("FP");
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(2), "01");
    EXPECT_EQ(b.slot(5), "00");
    EXPECT_EQ(b.slot(6), "01");
    b.choice(2, 1) = 4;  // Totalize
    b.choice(2, 2) = 2;  // Volt
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(2), "90");
    b.choice(2, 1) = 3;  // A - B
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(2), "88");
    b.p.config.gateTimeText = " 240 ";
    b.p.config.debounceTimeText = "5";
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(5), "F0");
    EXPECT_EQ(b.slot(6), "05");

    b.build("PR");
    b.choice(1, 1) = 6;  // 10 V
    b.choice(1, 2) = 2;
    b.choice(1, 3) = 2;
    b.choice(2, 1) = 2;
    b.choice(2, 2) = 2;
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "35");
    EXPECT_EQ(b.slot(2), "22");
    b.choice(1, 4) = 2;  // 50 Hz: bit 7
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "B5");

    b.build("ST");
    b.choice(1, 2) = 2;  // ratiometric: bit 5
    b.choice(2, 1) = 2;  // Volt: bit 7
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "20");
    EXPECT_EQ(b.slot(2), "80");
    b.choice(1, 3) = 2;  // external excitation: bit 4
    b.choice(1, 4) = 2;  // 50 Hz: bit 7
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "B0");

    b.build("ACV");
    b.choice(1, 1) = 3;  // range code 2
    b.choice(1, 2) = 2;  // 50 Hz: bit 7
    b.choice(2, 1) = 2;  // Volt: bit 7
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.slot(1), "82");
    EXPECT_EQ(b.slot(2), "80");
}

TEST(RegisterCodec, AcTypesHaveNoResolutionRegister) {
    for (std::string_view type : {"ACV", "ACC"}) {
        CodecBench b(type);
        b.slot(7) = "";
        b.choice(1, 1) = 4;
        ASSERT_TRUE(encodeConfiguration(b.p));
        EXPECT_EQ(b.slot(1), "03");
        EXPECT_EQ(b.slot(7), "");
        b.slot(7) = "05";
        decodeConfiguration(b.p);
        EXPECT_EQ(b.choice(7, 1), 1);
    }
}

// The decoding table's rules for codes the encoder never produces.
TEST(RegisterCodec, DecodingExceptions) {
    CodecBench b("TC");
    const auto decodeSlot = [&b](int s, std::string text) {
        b.slot(s) = std::move(text);
        decodeConfiguration(b.p);
    };
    decodeSlot(1, "8A");  // type digit outside 0-9: option 1; 50 Hz
    EXPECT_EQ(b.choice(1, 1), 1);
    EXPECT_EQ(b.choice(1, 2), 2);
    decodeSlot(1, "09");
    EXPECT_EQ(b.choice(1, 1), 10);
    decodeSlot(2, "03");  // unit code 3: Kelvin
    EXPECT_EQ(b.choice(2, 1), 3);
    decodeSlot(3, "09");  // filter above 8: option 8
    EXPECT_EQ(b.choice(3, 1), 8);
    decodeSlot(3, "FF");
    EXPECT_EQ(b.choice(3, 1), 8);
    decodeSlot(7, "00");  // 0: highest option
    EXPECT_EQ(b.choice(7, 1), 3);
    decodeSlot(7, "04");
    EXPECT_EQ(b.choice(7, 1), 3);

    b.build("RTD");
    decodeSlot(1, "33");  // resistance code 3: 10 Ohm; wiring 3: 4 wires
    EXPECT_EQ(b.choice(1, 1), 1);
    EXPECT_EQ(b.choice(1, 4), 3);
    decodeSlot(1, "02");
    EXPECT_EQ(b.choice(1, 1), 4);
    decodeSlot(2, "83");
    EXPECT_EQ(b.choice(2, 1), 3);
    EXPECT_EQ(b.choice(2, 2), 2);

    b.build("PR");
    decodeSlot(1, "06");  // above 5: option 1
    EXPECT_EQ(b.choice(1, 1), 1);
    decodeSlot(1, "05");
    EXPECT_EQ(b.choice(1, 1), 6);
    decodeSlot(7, "07");
    EXPECT_EQ(b.choice(7, 1), 6);

    b.build("ST");
    decodeSlot(1, "07");  // anything but 0 or 1: option 2
    EXPECT_EQ(b.choice(1, 1), 2);
    decodeSlot(7, "06");
    EXPECT_EQ(b.choice(7, 1), 5);

    for (std::string_view type : {"ACV", "ACC"}) {
        b.build(type);
        decodeSlot(1, "07");  // 4 to 9: option 4
        EXPECT_EQ(b.choice(1, 1), 4);
        decodeSlot(1, "0C");  // and so are A to F
        EXPECT_EQ(b.choice(1, 1), 4);
    }

    b.build("FP");
    decodeSlot(1, "3C");  // both two-bit fields 3: option 3
    EXPECT_EQ(b.choice(1, 3), 3);
    EXPECT_EQ(b.choice(1, 4), 3);
    decodeSlot(2, "1D");  // bits 0, 2, 3, 4: Frequency wins
    EXPECT_EQ(b.choice(2, 1), 1);
    decodeSlot(2, "0C");  // bits 2 and 3: Quadrature
    EXPECT_EQ(b.choice(2, 1), 2);
    decodeSlot(2, "80");  // no mode bit: Totalize
    EXPECT_EQ(b.choice(2, 1), 4);
    EXPECT_EQ(b.choice(2, 2), 2);
    decodeSlot(5, "FF");
    EXPECT_EQ(b.p.config.gateTimeText, "255");
    decodeSlot(6, "0A");
    EXPECT_EQ(b.p.config.debounceTimeText, "10");
}

// Register texts of any shape decode without harm: characters beyond the width are ignored,
// a missing or non-hexadecimal character counts as "0".
TEST(RegisterCodec, DecodingToleratesMalformedTexts) {
    CodecBench b("PR");
    b.slot(1) = "";
    b.slot(2) = "8";   // "80": Volt output
    b.slot(3) = "0#";  // "00"
    b.slot(4) = "5";
    b.slot(7) = "0 ";  // "00": highest option
    b.p.registers.scaleRegisterText[1] = "2";
    b.p.registers.scaleRegisterText[2] = "zz";
    decodeConfiguration(b.p);
    EXPECT_EQ(b.choice(1, 1), 1);
    EXPECT_EQ(b.choice(2, 3), 2);
    EXPECT_EQ(b.choice(3, 1), 1);
    EXPECT_EQ(b.choice(7, 1), 6);
    EXPECT_EQ(b.p.config.scalingText[4], "00.0000");
    EXPECT_EQ(b.p.config.scalingText[3], "000000.");
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.0);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, 0.0);

    b.slot(1) = "05TRAILING";
    b.slot(3) = "03" + std::string(1000, 'F');
    b.slot(4) = std::string(100, 'F');
    decodeConfiguration(b.p);
    EXPECT_EQ(b.choice(1, 1), 6);
    EXPECT_EQ(b.choice(3, 1), 4);

    b.build("FP");
    b.slot(5) = "";
    b.slot(6) = std::string(500, '9');
    decodeConfiguration(b.p);
    EXPECT_EQ(b.p.config.gateTimeText, "0");
    EXPECT_EQ(b.p.config.debounceTimeText, "2576980377");  // 8 digits read at most
}

TEST(RegisterCodec, ScaleRegistersGoToTheLiveDisplayUnlessMarkedNA) {
    CodecBench b("TC");
    b.p.registers.scaleRegisterText[1] = "300002";  // 0.02
    b.p.registers.scaleRegisterText[2] = "B00190";  // -40
    decodeConfiguration(b.p);
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.02);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, -40.0);

    b.p.config.modeMarker = "NA";
    b.p.registers.scaleRegisterText[1] = "20000A";
    decodeConfiguration(b.p);
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.02);
    b.p.config.scalingText = {"", "0", "4", "10", "20"};
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.02);       // file coding leaves the display alone
    EXPECT_EQ(b.p.registers.scaleOffset[1], "200010");  // 1.6
}

}  // namespace
}  // namespace sigcond
