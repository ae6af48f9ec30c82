#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "codec_bench.h"
#include "common/convert.h"

namespace sigcond {
namespace {

using test::CodecBench;

struct ItemRef {
    int g;
    int i;
    int count;
};

// Every item of groups 1, 2, 3 and 7 of the built catalogue, with its option count.
std::vector<ItemRef> optionItems(const OptionCatalogue& cat) {
    std::vector<ItemRef> items;
    for (int g : {1, 2, 3, 7})
        for (int i = 1; i <= cat.itemCount[g]; ++i) items.push_back({g, i, cat.choiceCount[g][i]});
    return items;
}

// Every combination of options encodes and decodes back to the same choices.
TEST(CodecRoundTrip, EveryOptionCombinationOfEveryType) {
    for (std::string_view type : kDemoTypeOrder) {
        CodecBench b(type);
        const std::vector<ItemRef> items = optionItems(b.p.config.catalogue);
        std::vector<int> pick(items.size(), 1);
        long combinations = 0;
        for (;;) {
            for (std::size_t n = 0; n < items.size(); ++n)
                b.choice(items[n].g, items[n].i) = pick[n];
            ASSERT_TRUE(encodeConfiguration(b.p));
            for (const ItemRef& item : items) b.choice(item.g, item.i) = 0;
            decodeConfiguration(b.p);
            for (std::size_t n = 0; n < items.size(); ++n)
                ASSERT_EQ(b.choice(items[n].g, items[n].i), pick[n])
                    << type << " group " << items[n].g << " item " << items[n].i << " registers "
                    << b.slot(1) << " " << b.slot(2) << " " << b.slot(3) << " " << b.slot(7);
            ++combinations;
            std::size_t n = 0;
            while (n < pick.size() && pick[n] == items[n].count) pick[n++] = 1;
            if (n == pick.size()) break;
            ++pick[n];
        }
        long expected = 1;
        for (const ItemRef& item : items) expected *= item.count;
        EXPECT_EQ(combinations, expected) << type;
    }
}

TEST(CodecRoundTrip, ScalingTextsThroughSlotFour) {
    CodecBench b("TC");
    struct Case {
        const char* in1;
        const char* out1;
        const char* in2;
        const char* out2;
        const char* slot4;
    };
    const Case cases[] = {
        {"00.0000", "00.0000", "10.0000", "10.0000", "5186A05186A0500000500000"},
        {"-1.5", "4", "1000", "20", "530D401003E8509C40A0000F"},
        {"-.12345", "0", "123456", "20.0000", "530D4011E240500000E03039"},
        {".123456", "12.3456", "999999", "19.9999", "530D3F1F423F51E24071E240"},
    };
    for (const Case& c : cases) {
        b.p.config.scalingText = {"", c.in1, c.out1, c.in2, c.out2};
        ASSERT_TRUE(encodeConfiguration(b.p)) << c.in1;
        EXPECT_EQ(b.slot(4), c.slot4) << c.in1;
        b.p.config.scalingText = {"", "x", "x", "x", "x"};
        decodeConfiguration(b.p);
        EXPECT_DOUBLE_EQ(textToNumber(b.p.config.scalingText[1]), textToNumber(c.in1));
        EXPECT_DOUBLE_EQ(textToNumber(b.p.config.scalingText[2]), textToNumber(c.out1));
        EXPECT_DOUBLE_EQ(textToNumber(b.p.config.scalingText[3]), textToNumber(c.in2));
        EXPECT_DOUBLE_EQ(textToNumber(b.p.config.scalingText[4]), textToNumber(c.out2));
    }
    // Decoded texts keep the decimals the code carries.
    b.p.config.scalingText = {"", "-1.5", "4", "12.340", "20"};
    ASSERT_TRUE(encodeConfiguration(b.p));
    decodeConfiguration(b.p);
    EXPECT_EQ(b.p.config.scalingText[1], "-0001.5");
    EXPECT_EQ(b.p.config.scalingText[2], "04.0000");
    EXPECT_EQ(b.p.config.scalingText[3], "012.340");
    EXPECT_EQ(b.p.config.scalingText[4], "20.0000");
}

TEST(CodecRoundTrip, CountingModeInputs) {
    CodecBench b("FP");
    b.choice(2, 1) = 4;  // Totalize: inputs are counts
    b.p.config.scalingText = {"", "0", "4", "12345678", "20"};
    ASSERT_TRUE(encodeConfiguration(b.p));
    // 12345678 > 8388600: 123456 + 800000 hex.
    EXPECT_EQ(b.p.registers.scalePairHigh, "530D4081E240");
    EXPECT_EQ(b.p.registers.scalePairLow, "509C40000000");
    decodeConfiguration(b.p);
    EXPECT_EQ(b.p.config.scalingText[1], "0");
    EXPECT_EQ(b.p.config.scalingText[3], "12345600");
    EXPECT_EQ(b.p.config.scalingText[2] + b.p.config.scalingText[4], "04.000020.0000");

    EXPECT_EQ(encodeScalingValue("8388600", false, true), "7FFFF8");
    EXPECT_EQ(decodeScalingValue("7FFFF8", false, true), "8388600");
    EXPECT_EQ(encodeScalingValue("8388601", false, true), "8147AE");
    EXPECT_EQ(encodeScalingValue("99999999", false, true), "8F423F");
    EXPECT_EQ(decodeScalingValue("8F423F", false, true), "99999900");
    // A totalizer counting far from zero: scale 0.16, offset 4 - 0.16 x 10000000.
    b.p.config.scalingText = {"", "10000000", "4", "10000100", "20"};
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.registers.scaleOffset[1], "300010");
    EXPECT_EQ(b.p.registers.scaleOffset[2], "9270FF");
    EXPECT_NEAR(b.p.live.outputOffset, -1599996, 1e-6);
    EXPECT_DOUBLE_EQ(decodeOffsetCode("9270FF"), -1599990);  // 159999 x 10, as the unit reads it
    // The desired outputs keep the ordinary coding.
    EXPECT_EQ(encodeScalingValue("4", true, true), "509C40");
    // In Frequency mode the inputs are ordinary numbers.
    b.choice(2, 1) = 1;
    b.p.config.scalingText = {"", "1.5", "4", "1000", "20"};
    ASSERT_TRUE(encodeConfiguration(b.p));
    EXPECT_EQ(b.p.registers.scalePairLow, "509C4020000F");
}

TEST(CodecRoundTrip, ScaleAndOffsetCodesDecodeWithinPrecision) {
    const double values[] = {0,         1,       -1,       0.016,     0.02,     1.6,      1.0 / 3,
                             -2.0 / 3,  123.456, -999.5,   4,         200,      -200,     99999.99,
                             523999.9,  524000,  -524000,  1e-4,      1.5e-7,   -3.25e-9, 7e-12,
                             0.0001234, 1000000, -1000000, 12345.678, 987654.3, -0.5};
    for (double v : values) {
        const std::string scale = encodeScaleCode(v);
        ASSERT_EQ(scale.size(), 6u) << v;
        const double s = decodeScaleCode(scale);
        if (std::fabs(v) <= 524000) {
            EXPECT_NEAR(s, v, std::fabs(v) * 1.1e-5 + 1e-14) << v << " " << scale;
        }
        const std::string offset = encodeOffsetCode(v);
        ASSERT_EQ(offset.size(), 6u) << v;
        EXPECT_NEAR(decodeOffsetCode(offset), v, std::fabs(v) * 1.1e-5 + 1e-5)
            << v << " " << offset;
    }
    EXPECT_EQ(encodeScaleCode(1), "20000A");
    EXPECT_EQ(encodeScaleCode(600000), "17FEE0");
    EXPECT_EQ(encodeScaleCode(524000), "17FEE0");
    EXPECT_EQ(encodeScaleCode(0.016), "400010");
    EXPECT_EQ(encodeOffsetCode(0), "200000");
    EXPECT_EQ(encodeOffsetCode(4), "300028");
    EXPECT_EQ(encodeOffsetCode(2000000), "2F4240");
    EXPECT_EQ(encodeScaleCode(1.5e-7), "90000F");  // exponent form: 15 / 10^8
}

}  // namespace
}  // namespace sigcond
