#include "measure/scaling_panel.h"

#include <gtest/gtest.h>

#include "live_bench.h"
#include "ui/numeric_entry.h"

namespace sigcond {
namespace {

using test::LiveBench;

// Types a value into a box as the operator does: focus (the box is emptied), then the text.
void typeInto(Program& p, int box, const std::string& text) {
    text1GotFocus(p, box);
    text1Change(p, box, text);
}

void typeAll(Program& p, const std::string& in1, const std::string& out1, const std::string& in2,
             const std::string& out2) {
    typeInto(p, 0, in1);
    typeInto(p, 1, out1);
    typeInto(p, 2, in2);
    typeInto(p, 3, out2);
}

TEST(ScalingPanel, OpensWithTheRecordTextsCaptionsAndUnits) {
    LiveBench b;
    b.p.form1.Command7.enabled = false;  // as a finished live scaling leaves it
    b.p.config.scalingText = {"", "1", "2", "3", "4"};
    b.p.live.capturedInput[1] = 5.0;  // from an earlier live scaling
    b.p.live.capturedInput[2] = 6.0;
    b.p.screen.changePending = 1;
    b.p.screen.uncommittedGroup = 3;
    b.p.form1.Frame7.visible = true;
    for (int i = 0; i < 4; ++i) {
        b.p.form1.Text1[i].visible = b.p.form1.Label14[i].visible = false;
        b.p.form1.Text1[i].foreColour = b.p.form1.Text1[i].backColour = 0xFF0000;
    }
    analogOutputScalingMenu(b.p);
    const MainScreen& f = b.p.form1;
    EXPECT_EQ(f.Text1[0].caption + f.Text1[1].caption + f.Text1[2].caption + f.Text1[3].caption,
              "1234");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(f.Text1[i].visible && f.Label14[i].visible) << i;
        EXPECT_EQ(f.Text1[i].foreColour, 0x000000) << i;
        EXPECT_EQ(f.Text1[i].backColour, 0xFFFFFF) << i;
    }
    EXPECT_FALSE(b.p.live.capturedInput[1].has_value() || b.p.live.capturedInput[2].has_value());
    EXPECT_EQ(b.p.screen.changePending, 0);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_FALSE(f.Frame7.visible);
    EXPECT_EQ(f.Label10.caption, "\"CLICK\"  INDIVIDUAL BOX TO CHANGE  INPUT, OUTPUT.  ");
    EXPECT_EQ(f.Frame2.caption, " Analog output scaling  :");
    EXPECT_TRUE(f.Frame2.visible);
    EXPECT_TRUE(f.Command7.enabled);
    EXPECT_TRUE(f.Command4.visible && f.Command6.visible);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(f.Label8[i].visible) << i;
    EXPECT_EQ(b.p.screen.currentGroup, 4);
    EXPECT_EQ(f.Label8[0].caption, "Input 1");
    EXPECT_EQ(f.Label8[3].caption, "Desired output 2");

    EXPECT_EQ(f.Label14[1].caption, "  mA");
    EXPECT_EQ(f.Label14[0].caption, b.p.config.readingUnitText);
    EXPECT_TRUE(f.Command7.visible);
    EXPECT_TRUE(f.Label10.visible);
    EXPECT_EQ(f.Label10.foreColour, kNavyColour);
    EXPECT_EQ(b.p.live.savedScalingText[1] + b.p.live.savedScalingText[3], "13");
    EXPECT_EQ(f.Text1[0].width, f.Text1[1].width);

    // Frequency inputs in a counting mode get wider input boxes.
    LiveBench counting("FP");
    counting.p.config.choice[2][1] = 4;
    analogOutputScalingMenu(counting.p);
    EXPECT_EQ(counting.p.form1.Text1[0].width, 1337);
    EXPECT_EQ(counting.p.form1.Text1[2].width, 1337);
    EXPECT_EQ(counting.p.form1.Text1[1].width, 1215);
    analogOutputScalingMenu(counting.p);  // opened again: not widened twice
    EXPECT_EQ(counting.p.form1.Text1[0].width, 1337);
}

TEST(ScalingPanel, ChecksReportWithTheirButtonsAndKeepThePanelOpen) {
    LiveBench b;
    analogOutputScalingMenu(b.p);
    typeAll(b.p, "0", "4", "1000", "25");
    scalingOk(b.p);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "'Desired output 1'  or  'Desired output 2'  should be between  0  and   20  mA");
    EXPECT_EQ(b.dialogs.messages[0].title, "INPUT ERROR !");
    EXPECT_EQ(b.dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Exclamation);
    EXPECT_TRUE(b.p.form1.Frame2.visible);
    EXPECT_EQ(b.p.config.scalingText[4], "25");  // stored anyway

    typeAll(b.p, "4", "20", "4.05", "4");
    scalingOk(b.p);
    ASSERT_EQ(b.dialogs.messages.size(), 2u);
    EXPECT_EQ(b.dialogs.messages[1].text, "| Input 2  -  Input 1 |  SHOULD BE BIGGER THAN  0.1");
    EXPECT_EQ(b.dialogs.messages[1].buttons, Buttons::AbortRetryIgnore);
    EXPECT_TRUE(b.p.form1.Frame2.visible);

    typeAll(b.p, "0", "12", "1000", "12");
    b.dialogs.answers.push_back(Answer::Cancel);
    scalingOk(b.p);
    ASSERT_EQ(b.dialogs.messages.size(), 3u);
    EXPECT_EQ(b.dialogs.messages[2].text,
              "'Desired output 1'  should be different from 'Desired output 2'");
    EXPECT_EQ(b.dialogs.messages[2].buttons, Buttons::OkCancel);
    EXPECT_TRUE(b.p.form1.Frame2.visible);
    b.dialogs.answers.push_back(Answer::Ok);  // accept the equal outputs
    b.dialogs.answers.push_back(Answer::No);  // do not send
    scalingOk(b.p);
    EXPECT_FALSE(b.p.form1.Frame2.visible);
    EXPECT_EQ(b.dialogs.messages.back().text,
              "Do you want to send configuration to the unit now  ?\r(You can send later)");
    EXPECT_TRUE(b.port.commands().empty());  // No leaves the unit unchanged
}

TEST(ScalingPanel, NegativeOutputFromEnterInDesiredOutput1) {
    LiveBench b;
    b.p.config.choice[2][3] = 2;  // analog output mode "Volt"
    analogOutputScalingMenu(b.p);
    typeInto(b.p, 1, "-1");
    b.p.form1.Text1[1].foreColour = 0xFF0000;
    b.p.form1.focus = "";
    int key = kKeyEnter;
    text1KeyPress(b.p, 1, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(b.p.form1.Text1[1].foreColour, 0x000000);
    EXPECT_EQ(b.p.form1.focus, "Command3");
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "'Desired output 1'  or  'Desired output 2'  should be between  0  and   10  Volt");
    EXPECT_EQ(b.p.live.scalingAccepted, 0);
}

TEST(ScalingPanel, OkAnsweredYesSendsTheLineThroughBothPoints) {
    LiveBench b;
    analogOutputScalingMenu(b.p);
    typeAll(b.p, "0", "4", "1000", "20");
    b.dialogs.answers.push_back(Answer::Yes);
    b.p.live.capturedInput[1] = 5.0;
    scalingOk(b.p);
    EXPECT_FALSE(b.p.live.capturedInput[1].has_value());
    EXPECT_TRUE(b.dialogs.messages.size() == 1u);
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 0.016);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, 4.0);
    EXPECT_EQ(b.p.screen.deferredAction, 1);  // the transmission is scheduled
    EXPECT_FALSE(b.p.form1.Frame2.visible);
}

TEST(ScalingPanel, CancelRestoresTheOpeningTexts) {
    LiveBench b;
    analogOutputScalingMenu(b.p);
    typeAll(b.p, "5", "6", "", "8");
    b.p.live.capturedInput[2] = 5.0;
    scalingCancel(b.p);
    EXPECT_FALSE(b.p.form1.Frame2.visible);
    EXPECT_FALSE(b.p.live.capturedInput[2].has_value());
    const std::array<std::string, 4> opening{"00.0000", "00.0000", "10.0000", "10.0000"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.p.form1.Text1[i].caption, opening[i]);
        EXPECT_EQ(b.p.config.scalingText[i + 1], opening[i]);
    }
}

}  // namespace
}  // namespace sigcond
