#include "measure/live_scaling.h"

#include <gtest/gtest.h>

#include "config/option_catalogue.h"
#include "live_bench.h"
#include "measure/scaling_panel.h"
#include "ui/main_screen_ops.h"
#include "ui/numeric_entry.h"

namespace sigcond {
namespace {

using test::LiveBench;

// Answers every write with its echo, and "X01" with the given reading.
void answerEverything(LiveBench& b, const std::string& reading) {
    b.port.responder = [reading](const std::string& command, const std::string&) {
        if (command == "X01")
            return std::optional(test::ScriptedReply::text("X01" + reading + "\r"));
        return std::optional(test::ScriptedReply::text(command.substr(0, 3) + "\r"));
    };
}

TEST(LiveScaling, UnityScaleBurstThenSixQuietCycles) {
    LiveBench b("TC");
    answerEverything(b, "  500.0");
    analogOutputScalingMenu(b.p);
    b.dialogs.answers.push_back(Answer::Yes);
    b.p.form1.Text1[2].caption = "12";  // from an earlier entry
    b.p.form1.Text1[3].caption = "16";
    b.p.form1.Text1[1].caption = "4";
    b.p.form1.Label10.visible = true;
    b.p.form1.Picture2.visible = true;
    b.p.form1.Timer1.enabled = false;
    b.p.live.outputOffset = 5.0;
    startLiveScaling(b.p);
    // The partial send: the registers of the options, the scaling left to the live entry.
    EXPECT_EQ(b.port.commands(), (std::vector<std::string>{"W0100", "W0200", "W0400", "W0301"}));
    EXPECT_EQ(b.p.form1.Text1[1].caption + b.p.form1.Text1[2].caption + b.p.form1.Text1[3].caption,
              "");
    EXPECT_EQ(b.p.form1.Text1[0].foreColour, 0xFF0000);
    EXPECT_EQ(b.p.form1.Text1[1].foreColour, 0xFF0000);
    EXPECT_EQ(b.p.form1.focus, "Text1(1)");
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
    EXPECT_EQ(b.p.transfer.partialSend, 0);
    EXPECT_FALSE(b.p.form1.Label10.visible);
    ASSERT_FALSE(b.dialogs.messages.empty());
    EXPECT_EQ(b.dialogs.messages.back().title, "SCALE AND OFFSET");
    EXPECT_EQ(b.dialogs.messages.back().buttons, Buttons::YesNo);
    EXPECT_EQ(b.dialogs.messages.back().text,
              "DO YOU WANT TO SET THE ANALOG OUTPUT SCALE = 1   ( 1000" +
                  b.p.config.readingUnitText + " input  =  20  mA  output ) \rOFFSET = 0 ?");
    EXPECT_EQ(b.p.live.liveStep, 1);
    EXPECT_EQ(b.p.live.unityScalePending, 1);
    EXPECT_TRUE(b.p.form1.Label11.visible);
    EXPECT_FALSE(b.p.form1.Command7.enabled);

    const std::size_t before = b.port.commands().size();
    b.tick();
    EXPECT_EQ(b.commandsFrom(before), (std::vector<std::string>{"W06200000", "W05300002", "Z01"}));
    EXPECT_EQ(b.p.live.unityScalePending, 0);
    EXPECT_EQ(b.p.live.outputOffset, 0.0);
    for (int cycle = 0; cycle < 6; ++cycle) b.tick();
    EXPECT_EQ(b.port.commands().size(), before + 3);
    EXPECT_FALSE(b.p.form1.Label11.visible);
    b.tick();
    EXPECT_EQ(b.commandsFrom(before + 3), std::vector<std::string>{"X01"});
    EXPECT_EQ(b.p.form1.Label7.caption, "10.000 ");  // 0.02 x 500
    EXPECT_EQ(b.p.form1.Text1[0].caption, "  500.0");
    EXPECT_EQ(b.p.live.capturedInput[1], 500.0);
}

TEST(LiveScaling, FrequencyUnitGetsNoQuestionAndZ01AtOnce) {
    LiveBench b("FP");
    answerEverything(b, "  100.0");
    analogOutputScalingMenu(b.p);
    const std::size_t shown = b.dialogs.messages.size();
    beginLiveScaling(b.p);
    EXPECT_EQ(b.dialogs.messages.size(), shown);
    EXPECT_EQ(b.port.commands().back(), "Z01");
    EXPECT_EQ(b.p.live.waitTicks, 1);
    EXPECT_EQ(b.p.live.unityScalePending, 0);
    // A Z01 left unanswered is not held against the next exchange.
    b.port.silence();
    beginLiveScaling(b.p);
    EXPECT_EQ(b.p.link.linkError, 0);
}

TEST(LiveScaling, OutputRangeSentWithTheLiveScalingIsTheOneTheDisplayClampsTo) {
    LiveBench b("TC");
    ASSERT_EQ(b.p.live.unitOutputFullScale, 20.0);
    b.p.config.choice[kGroupMode][3] = 2;  // the operator switched the output to voltage
    analogOutputScalingMenu(b.p);
    b.port.reply("W01\r");  // the unit takes the output mode, then falls silent
    b.port.reply("W02\r");
    startLiveScaling(b.p);
    EXPECT_EQ(b.p.live.liveStep, 0);
    EXPECT_EQ(b.p.live.unitOutputFullScale, 10.0);
    EXPECT_EQ(b.p.live.unitOutputUnitText, "  Volt");
    EXPECT_EQ(b.p.form1.Label16.caption, "  Volt");
}

TEST(LiveScaling, UnityCodesFollowTypeAndOutput) {
    LiveBench volt("TC");
    volt.p.config.outputFullScaleText = "10.0000";
    EXPECT_EQ(unityScaleCodeFor(volt.p), "300001");
    LiveBench process("PR");  // 20 mA input range, current output
    EXPECT_EQ(unityScaleCodeFor(process.p), "100001");
    EXPECT_NE(unityScaleQuestion(process.p).find("(  20"), std::string::npos);
}

TEST(LiveScaling, FailedBurstStopsTheTimerAndIsNotRepeatedAfterTheEntryEnded) {
    LiveBench b("TC");
    analogOutputScalingMenu(b.p);
    b.p.live.liveStep = 1;
    b.p.live.unityScalePending = 1;
    b.p.form1.Label11.visible = true;
    b.port.silence();
    const double start = b.clock.monotonicSeconds();
    b.tick();
    EXPECT_NEAR(b.clock.monotonicSeconds() - start, 4.0, 0.01);  // the burst's long timeout
    EXPECT_EQ(b.port.commands(), std::vector<std::string>{"W06200000"});
    EXPECT_FALSE(b.p.form1.Timer1.enabled);
    EXPECT_FALSE(b.p.form1.Label11.visible);
    EXPECT_EQ(b.p.live.liveStep, 0);  // the failed exchange ended live scaling
    EXPECT_EQ(b.p.live.unityScalePending, 0);
    // The next press starts anew: only a failure of its own stops it.
    answerEverything(b, "  500.0");
    b.dialogs.answers.push_back(Answer::No);
    startLiveScaling(b.p);
    EXPECT_EQ(b.p.live.liveStep, 1);

    // A scale the unit still refuses at its third sending fails the burst the same way.
    LiveBench r("TC");
    analogOutputScalingMenu(r.p);
    r.p.live.liveStep = 1;
    r.p.live.unityScalePending = 1;
    r.p.live.outputOffset = 5.0;
    r.port.responder = [](const std::string& command, const std::string&) {
        return std::optional(test::ScriptedReply::text(command[2] == '5' ? "?\r" : "W06\r"));
    };
    r.tick();
    EXPECT_EQ(r.port.commands().back(), "W05300002");
    EXPECT_EQ(r.port.commands().size(), 4u);  // no "Z01"
    EXPECT_FALSE(r.p.form1.Timer1.enabled);
    EXPECT_EQ(r.p.live.outputScale, 1.0);
    EXPECT_EQ(r.p.live.outputOffset, 0.0);  // the unit confirmed "W06200000"
}

TEST(LiveScaling, SilentUnitOrOverRangeDuringStep1DisablesEntryUntilTheNextReading) {
    LiveBench b("TC");
    analogOutputScalingMenu(b.p);
    b.dialogs.answers.push_back(Answer::No);
    b.port.reply("Z01\r");
    beginLiveScaling(b.p);
    b.p.live.waitTicks = 0;
    b.tickSilent();
    EXPECT_FALSE(b.p.form1.Command4.enabled);
    EXPECT_FALSE(b.p.form1.Text1[1].enabled);
    EXPECT_FALSE(b.p.form1.Text1[3].enabled);
    EXPECT_EQ(b.p.form1.Text1[0].caption, "ERROR");
    EXPECT_EQ(b.p.form1.focus, "Command3");
    b.tickWith("  42.00");
    EXPECT_TRUE(b.p.form1.Command4.enabled);
    EXPECT_TRUE(b.p.form1.Text1[1].enabled);
    EXPECT_TRUE(b.p.form1.Text1[3].enabled);
    EXPECT_EQ(b.p.form1.Text1[0].caption, "  42.00");
    EXPECT_EQ(b.p.form1.focus, "Text1(1)");
    b.tickWith("?+999999");
    EXPECT_FALSE(b.p.form1.Command4.enabled);
    b.tickWith("  43.00");
    EXPECT_TRUE(b.p.form1.Command4.enabled);
    scalingOk(b.p);  // OK in step 1 confirms the step; the panel stays for step 2
    EXPECT_EQ(b.p.live.liveStep, 2);
    EXPECT_TRUE(b.p.form1.Frame2.visible);
    backToSummary(b.p);  // any menu action ends the live scaling and forgets its captures
    EXPECT_EQ(b.p.live.liveStep, 0);
    EXPECT_FALSE(b.p.live.capturedInput[1]);
}

TEST(LiveScaling, StepsConfirmEvenAfterARangeMessageInStep1) {
    LiveBench b("TC");
    analogOutputScalingMenu(b.p);
    b.dialogs.answers.push_back(Answer::No);
    b.port.reply("Z01\r");
    beginLiveScaling(b.p);
    b.p.live.waitTicks = 0;
    b.tickWith("  10.00");
    text1Change(b.p, 1, "25");
    int key = kKeyEnter;
    text1KeyPress(b.p, 1, key);
    EXPECT_EQ(b.dialogs.messages.back().title, "INPUT ERROR !");
    EXPECT_EQ(b.p.live.liveStep, 2);
    EXPECT_EQ(b.p.config.scalingText[2], "25");
    EXPECT_EQ(b.p.config.scalingText[1], "  10.00");
    EXPECT_EQ(b.p.form1.focus, "Text1(3)");
    EXPECT_EQ(b.p.form1.Text1[2].foreColour, 0xFF0000);
    EXPECT_EQ(b.p.form1.Text1[3].foreColour, 0xFF0000);
    EXPECT_EQ(b.p.form1.Text1[0].foreColour, 0x000000);
    EXPECT_EQ(b.p.form1.Text1[3].caption, "");

    b.tickSilent();  // step 2 signals a missing reply in its own box
    EXPECT_EQ(b.p.form1.Text1[2].caption, "ERROR");
    b.tickWith("  90.00");
    EXPECT_EQ(b.p.form1.Text1[2].caption, "  90.00");
    EXPECT_EQ(b.p.live.capturedInput[2], 90.0);
    text1Change(b.p, 3, "20");
    key = kKeyEnter;
    text1KeyPress(b.p, 3, key);
    EXPECT_EQ(b.p.live.liveStep, 0);
    EXPECT_EQ(b.p.config.scalingText[3], "  90.00");
    EXPECT_EQ(b.p.config.scalingText[4], "20");
    EXPECT_EQ(b.p.form1.Text1[2].foreColour, 0x000000);
    EXPECT_TRUE(b.p.form1.Command7.enabled);
    EXPECT_EQ(b.p.form1.focus, "Command3");
    // A confirmed step changes the record and marks it so itself: OK offers the send even when
    // the window system dropped the focus event of the box the program moved to.
    b.p.screen.changePending = 0;
    b.p.live.liveStep = 2;
    confirmLiveStep(b.p, true);
    EXPECT_EQ(b.p.screen.changePending, 1);
}

}  // namespace
}  // namespace sigcond
