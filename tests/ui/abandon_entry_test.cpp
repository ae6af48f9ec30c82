#include <gtest/gtest.h>

#include "config/config_record.h"
#include "support/link_bench.h"
#include "ui/numeric_entry.h"

namespace sigcond {
namespace {

TEST(AbandonEntry, ScalingPanelGetsTheSavedTextsBackAndLiveScalingEnds) {
    test::LinkBench b;
    auto& f = b.p.form1;
    b.p.screen.currentGroup = kGroupScaling;
    b.p.live.savedScalingText = {"", "1.5", "4.0000", "95", "20.0000"};
    b.p.config.scalingText = {"", "9", "9", "9", "9"};
    f.Text1[0].caption = "12";
    f.Text1[0].foreColour = 0xFF0000;
    f.Text1[1].enabled = f.Text1[3].enabled = f.Command4.enabled = false;
    f.Command7.enabled = false;
    b.p.live.liveStep = 2;
    b.p.live.capturedInput[2] = 95.0;
    abandonEntry(b.p);
    EXPECT_FALSE(b.p.live.capturedInput[2]);
    EXPECT_EQ(b.p.config.scalingText, b.p.live.savedScalingText);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f.Text1[i].caption, b.p.live.savedScalingText[i + 1]);
        EXPECT_EQ(f.Text1[i].foreColour, 0x000000);
    }
    EXPECT_TRUE(f.Text1[1].enabled && f.Text1[3].enabled && f.Command4.enabled);
    EXPECT_TRUE(f.Command7.enabled);
    EXPECT_EQ(b.p.live.liveStep, 0);
    EXPECT_EQ(f.focus, "Command3");
}

TEST(AbandonEntry, OptionPanelListsGoBackToTheRecordedChoices) {
    test::LinkBench b;
    auto& c = b.p.config;
    b.p.screen.currentGroup = kGroupMode;
    c.catalogue.itemCount[kGroupMode] = 2;
    c.catalogue.listSlot[kGroupMode][1] = 3;
    c.catalogue.listSlot[kGroupMode][2] = 5;
    c.choice[kGroupMode][1] = 2;
    c.choice[kGroupMode][2] = 4;
    b.p.form1.List1[2].selected = 0;
    b.p.form1.List1[4].selected = 0;
    b.p.form1.List1[0].selected = 6;
    b.p.config.scalingText[1] = "7";
    b.p.live.savedScalingText[1] = "1";
    abandonEntry(b.p);
    EXPECT_EQ(b.p.form1.List1[2].selected, 1);
    EXPECT_EQ(b.p.form1.List1[4].selected, 3);
    EXPECT_EQ(b.p.form1.List1[0].selected, 6);  // not a list of this group
    EXPECT_EQ(b.p.config.scalingText[1], "7");  // the scaling texts are left alone
}

}  // namespace
}  // namespace sigcond
