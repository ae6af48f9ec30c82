#include "config/option_catalogue.h"

#include <gtest/gtest.h>

#include "support/link_bench.h"

namespace sigcond {
namespace {

struct CatalogueBench : test::LinkBench {
    void build(std::string_view type) {
        p.config.inputType = std::string(type);
        buildOptionCatalogue(p);
    }
    const OptionCatalogue& cat() { return p.config.catalogue; }
};

// Every type's number and name are among its known answers; these are the other cases.
TEST(OptionCatalogue, UnknownTypeNumbersAndCodes) {
    EXPECT_EQ(inputTypeForNumber("07"), "TC");  // unknown numbers are taken as "TC"
    EXPECT_EQ(inputTypeForNumber(""), "TC");
    EXPECT_TRUE(isKnownInputType("ST"));
    EXPECT_FALSE(isKnownInputType("XX"));

    CatalogueBench b;
    b.build("FP");
    const std::string name = b.p.config.inputTypeName;
    ASSERT_FALSE(name.empty());
    b.p.config.inputType = "XX";
    typeNameOf(b.p);
    EXPECT_EQ(b.p.config.inputTypeName, name);  // unknown code: unchanged
}

TEST(OptionCatalogue, BuildResetsRecordAndRegisterImage) {
    CatalogueBench b;
    b.build("TC");
    b.p.config.choice[1][1] = 4;
    b.p.config.choice[7][1] = 3;
    b.p.config.scalingText[2] = "4";
    b.p.config.gateTimeText = "12";
    b.p.config.debounceTimeText = " 20 ";
    b.p.registers.registerText[1] = "AA";
    b.p.screen.currentGroup = 3;
    b.build("FP");
    for (int g = 1; g <= 7; ++g)
        for (int i = 1; i <= 10; ++i) EXPECT_EQ(b.p.config.choice[g][i], 1) << g << "," << i;
    EXPECT_EQ(b.p.config.scalingText[1], "00.0000");
    EXPECT_EQ(b.p.config.scalingText[2], "00.0000");
    EXPECT_EQ(b.p.config.scalingText[3], "10.0000");
    EXPECT_EQ(b.p.config.scalingText[4], "10.0000");
    EXPECT_EQ(b.p.config.gateTimeText, "000");
    EXPECT_EQ(b.p.config.debounceTimeText, "001");
    const std::array<std::string, 7> defaults{"",   "29", "46", "06", std::string(24, '0'),
                                              "FF", "FB"};
    const std::array<std::string, 7> numbers{"", "01", "02", "04", "", "0D", "0E"};
    for (int s = 1; s <= 6; ++s) {
        EXPECT_EQ(b.p.registers.registerText[s], defaults[s]);
        EXPECT_EQ(b.p.registers.registerNumber[s], numbers[s]);
    }
    EXPECT_EQ(b.p.registers.encodedGroupCount, 6);
    EXPECT_EQ(b.p.screen.currentGroup, 1);
    b.build("ACV");
    EXPECT_EQ(b.p.registers.encodedGroupCount, 4);
}

TEST(OptionCatalogue, DerivedUnitsAndOutputTexts) {
    CatalogueBench b;
    b.build("TC");
    EXPECT_EQ(b.p.config.readingUnitText,
              "  \xB0"
              "C ");
    b.p.config.choice[2][1] = 3;  // Kelvin
    refreshDerivedLabels(b.p);
    EXPECT_EQ(b.p.config.temperatureSuffix, "K ");
    EXPECT_EQ(b.p.config.readingUnitText, "  \xB0K ");
    EXPECT_EQ(b.p.config.outputFullScaleText, "20.0000");
    EXPECT_EQ(b.p.config.outputUnitText, "  mA");
    b.p.config.choice[2][3] = 2;  // Volt
    refreshDerivedLabels(b.p);
    EXPECT_EQ(b.p.config.outputFullScaleText, "10.0000");
    EXPECT_EQ(b.p.config.outputUnitText, "  Volt");

    // The volt option of any type's analog output item switches the output texts.
    const std::array<std::pair<std::string_view, int>, 7> outputItem{
        {{"TC", 3}, {"RTD", 2}, {"PR", 3}, {"ST", 1}, {"ACV", 1}, {"ACC", 1}, {"FP", 2}}};
    for (auto [type, item] : outputItem) {
        b.build(type);
        b.p.config.choice[2][item] = 2;
        refreshDerivedLabels(b.p);
        EXPECT_EQ(b.p.config.outputUnitText, "  Volt") << type;
        b.p.config.choice[2][item] = 1;
        refreshDerivedLabels(b.p);
        EXPECT_EQ(b.p.config.outputUnitText, "  mA") << type;
    }

    b.build("FP");
    EXPECT_EQ(b.p.config.readingUnitText, "  Hz  ");
    for (int mode = 2; mode <= 4; ++mode) {
        b.p.config.choice[2][1] = mode;
        refreshDerivedLabels(b.p);
        EXPECT_EQ(b.p.config.readingUnitText, " Counts");
    }
    b.build("ACC");
    b.p.config.choice[1][1] = 3;
    refreshDerivedLabels(b.p);
    EXPECT_EQ(b.p.config.readingUnitText, " Amp");
    EXPECT_EQ(b.p.config.temperatureSuffix, "");
}

TEST(OptionCatalogue, ProcessResolutionRule) {
    CatalogueBench b;
    b.build("PR");
    const int offered[] = {5, 4, 6, 6, 6, 5};
    for (int range = 1; range <= 6; ++range) {
        b.p.config.choice[1][1] = range;
        limitProcessResolution(b.p);
        EXPECT_EQ(b.cat().choiceCount[7][1], offered[range - 1]) << range;
    }
    // Ratiometric, 10 V, option 6 picked: offer 4 and pick 4.
    b.p.config.choice[1][1] = 6;
    b.p.config.choice[1][3] = 2;
    b.p.config.choice[7][1] = 6;
    limitProcessResolution(b.p);
    EXPECT_EQ(b.cat().choiceCount[7][1], 4);
    EXPECT_EQ(b.p.config.choice[7][1], 4);
    // A pick inside the offer stays.
    b.p.config.choice[1][3] = 1;
    b.p.config.choice[1][1] = 3;
    b.p.config.choice[7][1] = 2;
    limitProcessResolution(b.p);
    EXPECT_EQ(b.p.config.choice[7][1], 2);
    // Other types are left alone.
    b.build("ST");
    b.p.config.choice[7][1] = 5;
    limitProcessResolution(b.p);
    EXPECT_EQ(b.cat().choiceCount[7][1], 5);
    EXPECT_EQ(b.p.config.choice[7][1], 5);
}

TEST(OptionCatalogue, DisplayedResolutionCaptions) {
    CatalogueBench b;
    b.build("PR");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 1), " 20.  mA  ");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 2), " 20.0  mA  ");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 4), " 20.000  mA  ");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 5), " 20.0000  mA  ");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 6), " 2.00000  mA  ");
    b.p.config.choice[1][1] = 4;  // 2 V
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 6), " 2.00000  Volt  ");
    b.build("ST");
    b.p.config.choice[1][1] = 2;  // 100 mV
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 3), " 100.00  mV  ");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 5), " 10.0000  mV  ");
    b.build("FP");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 1), "50000.  Hz  ");
    b.p.config.choice[2][1] = 4;
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 6), "9.99999 Counts");
    b.build("TC");
    EXPECT_EQ(displayedOptionCaption(b.p, 7, 1, 2), "        0.1");
    EXPECT_EQ(displayedOptionCaption(b.p, 1, 1, 2), "  'K' T/C      ");
    for (auto [g, i, k] :
         {std::array{0, 1, 1}, {8, 1, 1}, {1, 0, 1}, {1, 11, 1}, {1, 1, 0}, {1, 1, 13}})
        EXPECT_EQ(displayedOptionCaption(b.p, g, i, k), "") << g << "," << i << "," << k;
}

}  // namespace
}  // namespace sigcond
