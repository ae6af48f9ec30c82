#include "measure/live_cycle.h"

#include <gtest/gtest.h>

#include "live_bench.h"
#include "measure/display_menu.h"
#include "ui/events.h"

namespace sigcond {
namespace {

using test::LiveBench;

TEST(LiveCycle, GoodReadingShownAsReceivedWithTheOutputValue) {
    LiveBench b;
    b.p.live.outputScale = 0.016;
    b.p.live.outputOffset = 4;
    b.p.form1.Label4.foreColour = kAlarmForeColour;  // left from an alarm
    b.tickWith("  12.34");
    EXPECT_EQ(b.port.commands(), std::vector<std::string>{"X01"});
    EXPECT_EQ(b.p.form1.Label4.caption, "  12.34");
    EXPECT_EQ(b.p.form1.Label7.caption, "4.197 ");
    EXPECT_EQ(b.p.form1.Label4.foreColour, b.p.live.normalForeColour);
    EXPECT_EQ(b.p.form1.Label7.backColour, b.p.live.normalBackColour);
    EXPECT_EQ(b.p.live.shownReading, "  12.34");

    // Clamped at 1.2 x 20 mA, and a tiny value never shown in exponent form.
    b.tickWith("  2000.");
    EXPECT_EQ(b.p.form1.Label7.caption, "24.000 ");
    b.p.live.outputScale = 1E-07;
    b.p.live.outputOffset = 0;
    b.tickWith("     1.");
    EXPECT_EQ(b.p.form1.Label7.caption, "0.000 ");

    // A thermocouple reply holding an "E" is a reading, not an over-range mark.
    b.tickWith(" 1.2E-3");
    EXPECT_EQ(b.p.form1.Label4.caption, " 1.2E-3");
}

TEST(LiveCycle, AcReadingsAreShownWithThreeDecimalsInFiveCharacters) {
    LiveBench b("ACV");
    b.tickWith(" 1.23456");
    EXPECT_EQ(b.p.form1.Label4.caption, "1.234 ");
    EXPECT_EQ(b.p.live.shownReading, "1.234");
}

TEST(LiveCycle, StrainOverRangeBlinksTheSignedMarkInAlarmColours) {
    LiveBench b("ST");
    b.p.form1.Label4.foreColour = 0x123456;  // the colours the window was drawn with
    b.p.form1.Label4.backColour = 0x654321;
    takeNormalLabelColours(b.p);
    const std::vector<std::string> expected = {"", "-999999 ", "", "-999999 "};
    b.p.form1.Text1[0].caption = "kept";
    b.tickSilent();  // an out-of-range mark is an answer: the missing-reply signal ends
    ASSERT_TRUE(b.p.form1.Picture2.visible);
    for (const std::string& shown : expected) {
        b.tickWith("-1.2E+3");
        EXPECT_EQ(b.p.form1.Label4.caption, shown);
        EXPECT_EQ(b.p.form1.Label7.caption, shown);
        EXPECT_EQ(b.p.form1.Label4.foreColour, kAlarmForeColour);
        EXPECT_EQ(b.p.form1.Label4.backColour, kAlarmBackColour);
        EXPECT_EQ(b.p.form1.Label7.foreColour, kAlarmForeColour);
        EXPECT_EQ(b.p.form1.Label7.backColour, kAlarmBackColour);
    }
    EXPECT_EQ(b.p.live.focusRequest, 1);
    EXPECT_TRUE(b.p.form1.Command4.enabled);  // no live scaling: nothing to disable
    EXPECT_EQ(b.p.form1.Text1[0].caption, "kept");
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    // During live scaling the mark goes into the input box and OK waits for a good reading.
    b.p.live.liveStep = 2;
    b.p.form1.focus = "";
    b.tickWith("-1.2E+3");
    EXPECT_EQ(b.p.form1.Text1[2].caption, "");
    EXPECT_EQ(b.p.form1.focus, "Command3");
    EXPECT_FALSE(b.p.form1.Command4.enabled);
    b.p.form1.focus = "";
    b.tickWith("-1.2E+3");
    EXPECT_EQ(b.p.form1.Text1[2].caption, "-999999 ");
    EXPECT_EQ(b.p.form1.focus, "Command3");
    b.p.live.liveStep = 0;
    // The next good reading brings the normal colours back.
    b.tickWith("  12.50");
    EXPECT_EQ(b.p.form1.Label4.caption, "  12.50");
    EXPECT_EQ(b.p.form1.Label4.foreColour, 0x123456);
    EXPECT_EQ(b.p.form1.Label4.backColour, 0x654321);
    EXPECT_EQ(b.p.live.focusRequest, 0);
}

TEST(LiveCycle, MissingRepliesAreSignalledOnceThenBlink) {
    LiveBench b;
    b.p.form1.Text1[0].caption = "kept";  // no live scaling: the input box is left alone
    b.tickSilent();
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_TRUE(b.p.form1.Picture2.visible);
    EXPECT_TRUE(b.p.link.quickPollMode);
    EXPECT_EQ(b.p.form1.Label4.caption, "ERROR  ");
    EXPECT_EQ(b.p.form1.Label7.caption, "ERROR  ");
    EXPECT_EQ(b.p.form1.Label4.foreColour, kAlarmForeColour);
    EXPECT_TRUE(b.p.form1.Command4.enabled);  // no live scaling: nothing to disable
    b.tickSilent();
    EXPECT_EQ(b.p.form1.Label4.caption, "");
    b.tickSilent();
    EXPECT_EQ(b.p.form1.Label4.caption, "ERROR  ");
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_EQ(b.port.commands().size(), 3u);  // polling goes on every cycle
    EXPECT_EQ(b.p.form1.Text1[0].caption, "kept");

    // The unit answers again: the signal is cleared.
    b.p.live.errorPanelShown = 1;
    b.p.form1.Picture1.visible = true;
    b.tickWith("  20.00");
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_FALSE(b.p.form1.Picture1.visible);
    EXPECT_EQ(b.p.live.errorPanelShown, 0);
    EXPECT_FALSE(b.p.link.quickPollMode);
    EXPECT_EQ(b.p.live.readingErrorShown, 0);
    EXPECT_EQ(b.p.form1.Label4.caption, "  20.00");
    // A new silence is signalled again.
    b.tickSilent();
    EXPECT_EQ(b.dialogs.beeps, 2);
}

TEST(LiveCycle, SevenQuietCyclesAfterABurst) {
    LiveBench b;
    b.p.live.waitTicks = 1;
    b.p.form1.Label11.visible = true;
    b.p.live.liveStep = 1;  // live scaling: the pause ends with an empty output box
    b.p.form1.Text1[1].caption = "4";
    for (int cycle = 1; cycle <= 7; ++cycle) {
        b.tick();
        EXPECT_TRUE(b.port.commands().empty()) << cycle;
        EXPECT_EQ(b.p.form1.Label11.visible, cycle < 7) << cycle;
        EXPECT_EQ(b.p.form1.Text1[1].caption, cycle < 7 ? "4" : "") << cycle;
    }
    b.p.live.liveStep = 0;
    b.tickWith("  12.34");
    EXPECT_EQ(b.port.commands(), std::vector<std::string>{"X01"});
}

TEST(LiveCycle, BannerIsHiddenWhenItsCountdownEnds) {
    LiveBench b;
    b.p.screen.bannerTicks = 2;
    b.p.form1.Label3.visible = true;
    b.tickWith("  1.00");
    EXPECT_TRUE(b.p.form1.Label3.visible);
    b.tickWith("  1.00");
    EXPECT_FALSE(b.p.form1.Label3.visible);
    b.tickWith("  1.00");
    EXPECT_EQ(b.p.screen.bannerTicks, 0);
}

TEST(LiveCycle, TrendTakesEverySecondGoodReading) {
    LiveBench b;
    for (int i = 0; i < 4; ++i) b.tickWith("  10.00");
    b.tickSilent();  // a missing reply neither stores nor toggles
    b.tickWith("  10.00");
    EXPECT_EQ(b.p.trend.trendCount, 3);
}

TEST(DisplayMenu, DisplayOffHidesTheValuesButPollingGoesOn) {
    LiveBench b;
    b.p.log.loggingOn = 1;  // logging counts down towards its next record
    b.p.log.sampleTicks = 10;
    b.p.log.sampleCountdown = 10;
    b.p.form1.Picture2.visible = true;  // a report of a silent unit goes with the values
    displayOnOff(b.p);
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_FALSE(b.p.form1.Frame9.visible);
    EXPECT_EQ(b.p.live.displayOn, 0);
    b.tickWith("  10.00");
    b.tickWith("  10.00");
    EXPECT_EQ(b.port.commands().size(), 2u);
    EXPECT_EQ(b.p.trend.trendCount, 1);
    EXPECT_EQ(b.p.log.sampleCountdown, 8);
    // No panel for a silent unit while the values are hidden.
    b.tickSilent();
    EXPECT_FALSE(b.p.form1.Picture2.visible);

    b.p.form1.Picture2.visible = true;
    b.p.form1.Timer1.enabled = false;
    displayOnOff(b.p);
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_EQ(b.p.live.displayOn, 1);
    EXPECT_TRUE(b.p.form1.Frame9.visible);
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
    EXPECT_EQ(b.p.live.readingErrorShown, 0);
    EXPECT_FALSE(b.p.link.quickPollMode);
}

TEST(DisplayMenu, OpeningTheMenuCommitsTheOpenPanelAndShowsTheSummary) {
    LiveBench b;
    b.p.screen.uncommittedGroup = 3;
    b.p.form1.Frame5.visible = true;
    displayMenu(b.p);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_FALSE(b.p.form1.Frame5.visible);
}

TEST(DisplayMenu, DemoWorkGetsTheNotConnectedReport) {
    LiveBench b;
    b.p.screen.unitConnected = 0;
    b.p.form1.Timer1.enabled = false;
    displayOnOff(b.p);
    EXPECT_TRUE(b.p.form1.Picture1.visible);
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 3u);
    EXPECT_EQ(b.p.form1.Picture1.lines[2], "   You have chosen 'SIGNAL CONDITIONER  ");
    EXPECT_FALSE(b.p.form1.Timer1.enabled);
    EXPECT_TRUE(b.p.form1.Frame9.visible);
}

}  // namespace
}  // namespace sigcond

namespace sigcond {
namespace {

ScreenEvent event(const std::string& control, int index, EventKind kind) {
    ScreenEvent e;
    e.window = "Form1";
    e.control = control;
    e.index = index;
    e.kind = kind;
    return e;
}

TEST(LiveEvents, TimerTickAndScalingBoxKeysReachTheirHandlers) {
    test::LiveBench b;
    ScreenEvent tick = event("Timer1", -1, EventKind::Tick);
    b.port.reply("X01  12.34\r");
    dispatchEvent(b.p, tick);
    EXPECT_EQ(b.p.form1.Label4.caption, "  12.34");

    ScreenEvent key = event("Text1", 1, EventKind::KeyPress);
    key.keyAscii = 'x';
    dispatchEvent(b.p, key);
    EXPECT_EQ(key.keyAscii, 0);
    key.keyAscii = '7';
    dispatchEvent(b.p, key);
    EXPECT_EQ(key.keyAscii, '7');

    ScreenEvent change = event("Text1", 2, EventKind::Change);
    change.text = "12";
    dispatchEvent(b.p, change);
    EXPECT_EQ(b.p.form1.Text1[2].caption, "12");
}

}  // namespace
}  // namespace sigcond
