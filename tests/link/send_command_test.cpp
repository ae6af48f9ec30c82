#include "link/send_command.h"

#include <gtest/gtest.h>

#include "support/link_bench.h"

namespace sigcond {
namespace {

using test::LinkBench;
using test::ReplyPiece;
using test::ScriptedReply;

TEST(SendCommand, FramesTheCommandAndTakesTheDataAfterTheEcho) {
    LinkBench b;
    b.port.reply("R0329\r");
    sendCommand(b.p, "R03", 2);
    ASSERT_EQ(b.port.frames.size(), 1u);
    EXPECT_EQ(b.port.frames[0].text, "*R03\r");
    EXPECT_EQ(b.p.link.replyText, "29");
    EXPECT_EQ(b.p.link.linkError, 0);

    // A longer reply gives only the asked number of data characters; a shorter one what came.
    b.port.reply("R0612345678\r");
    sendCommand(b.p, "R06", 6);
    EXPECT_EQ(b.p.link.replyText, "123456");
    b.port.reply("R3C12");
    sendCommand(b.p, "R3C", 12);
    EXPECT_EQ(b.p.link.replyText, "12");
}

TEST(SendCommand, RemovesAtMostTenLeadingNoiseCharacters) {
    LinkBench b;
    b.port.reply("\x01#R0329\r");
    sendCommand(b.p, "R03", 2);
    EXPECT_EQ(b.p.link.replyText, "29");

    b.port.reply("0123456789R0329\r");  // ten noise characters: all removed
    sendCommand(b.p, "R03", 2);
    EXPECT_EQ(b.p.link.replyText, "29");

    b.port.reply("0123456789AR0329\r");  // eleven: the eleventh stays in front of the echo
    sendCommand(b.p, "R03", 2);
    EXPECT_EQ(b.p.link.replyText, "32");

    // Leftovers of an earlier answer that start with a reply letter are not removed.
    b.port.reply("X01 5.0\rR0329\r");
    sendCommand(b.p, "R03", 2);
    EXPECT_EQ(b.p.link.replyText, " 5");
    EXPECT_EQ(b.p.link.linkError, 0);
}

TEST(SendCommand, RejectedCommandIsSentThreeTimesWithoutAMessage) {
    LinkBench b;
    b.port.reply("?\r");
    b.port.reply("?\r");
    b.port.reply("?R0\r");
    sendCommand(b.p, "R01", 2);
    EXPECT_EQ(b.port.commands(), (std::vector<std::string>{"R01", "R01", "R01"}));
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_FALSE(b.p.form1.Picture1.visible && !b.p.form1.Picture1.lines.empty());
    EXPECT_EQ(b.dialogs.beeps, 0);
    EXPECT_EQ(b.p.link.replyText, "\r");  // the data of the third "?" reply
    EXPECT_TRUE(b.p.link.rejected);

    // Two rejections, then an answer.
    b.port.frames.clear();
    b.port.reply("?\r");
    b.port.reply("\x7f?\r");  // noise before the "?" does not hide the rejection
    b.port.reply("R0129\r");
    sendCommand(b.p, "R01", 2);
    EXPECT_EQ(b.port.frames.size(), 3u);
    EXPECT_EQ(b.p.link.replyText, "29");
    EXPECT_FALSE(b.p.link.rejected);
}

TEST(SendCommand, TimeoutsAreOneTwoOrFourSeconds) {
    LinkBench b;
    b.p.transfer.unitIdentified = 1;  // keep the Configuration menu out of it

    double start = b.now();
    sendCommand(b.p, "R01", 2);
    EXPECT_NEAR(b.now() - start, 2.0, 0.001);
    EXPECT_EQ(b.p.link.replyTimeout, 2);

    b.p.link.longTimeoutOnce = true;
    start = b.now();
    sendCommand(b.p, "R3C", 12);
    EXPECT_NEAR(b.now() - start, 4.0, 0.001);
    EXPECT_FALSE(b.p.link.longTimeoutOnce);

    // Right after a frequency deferral the short timeout wins over the long one.
    b.p.link.settledCount = 0;
    b.p.link.longTimeoutOnce = true;
    start = b.now();
    sendCommand(b.p, "R05", 6);
    EXPECT_NEAR(b.now() - start, 1.0, 0.001);
    EXPECT_FALSE(b.p.link.longTimeoutOnce);
    EXPECT_EQ(b.p.link.settledCount, 1);

    // A reply without carriage return is taken as it stands when the time is up.
    b.p.link.settledCount = 3;
    b.port.reply("R0429", 0.5);
    start = b.now();
    sendCommand(b.p, "R04", 2);
    EXPECT_NEAR(b.now() - start, 2.0, 0.001);
    EXPECT_EQ(b.p.link.replyText, "29");
}

TEST(SendCommand, WaitEndsAtTheCarriageReturnWithoutSpinning) {
    LinkBench b;
    b.port.script.push_back({{{0.1, "R0"}, {0.35, "329\r"}}});
    const double start = b.now();
    sendCommand(b.p, "R03", 2);
    EXPECT_EQ(b.p.link.replyText, "29");
    EXPECT_NEAR(b.now() - start, 0.35, 0.001);
    // Blocked on the port in short slices, a handful of times, never polling in a loop.
    EXPECT_LE(b.port.longestWaitMs, kWaitSliceMs);
    EXPECT_LT(b.port.waitCalls, 25);

    // A silent unit: the two seconds pass in waits on the port, not in reads.
    b.p.transfer.unitIdentified = 1;
    b.port.waitCalls = 0;
    sendCommand(b.p, "R01", 2);
    EXPECT_GE(b.port.waitCalls, 2000 / kWaitSliceMs);
    EXPECT_LE(b.port.waitCalls, 2000 / kWaitSliceMs + 2);
}

TEST(SendCommand, SilentUnitIsReportedExceptForReadings) {
    LinkBench b;
    sendCommand(b.p, "R05", 6);
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_TRUE(b.p.form1.Picture1.visible);
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 3u);
    EXPECT_EQ(b.p.form1.Picture1.lines[0], "            Communication error !");
    EXPECT_EQ(b.p.form1.Picture1.lines[2], "        Check all connections.  ");
    EXPECT_FALSE(b.p.form1.CNF.enabled);  // not identified yet
    EXPECT_EQ(b.dialogs.beeps, 1);

    LinkBench later;
    later.p.transfer.unitIdentified = 1;
    sendCommand(later.p, "W0129", 0);
    EXPECT_EQ(later.p.link.linkError, 1);
    EXPECT_TRUE(later.p.form1.CNF.enabled);

    LinkBench reading;
    reading.p.form1.Picture1.visible = false;
    sendCommand(reading.p, "X01", 7);
    EXPECT_EQ(reading.p.link.linkError, 0);
    EXPECT_EQ(reading.p.link.replyText, "");
    EXPECT_FALSE(reading.p.form1.Picture1.visible);
    EXPECT_EQ(reading.dialogs.beeps, 0);
    EXPECT_EQ(reading.port.frames.size(), 1u);
}

TEST(SendCommand, SilentUnitDuringLiveScalingAbandonsTheEntry) {
    LinkBench b;
    b.p.transfer.unitIdentified = 1;
    b.p.live.liveStep = 1;
    b.p.form1.Picture1.visible = false;
    b.p.form1.Picture2.visible = false;
    b.p.form1.Command7.enabled = false;
    sendCommand(b.p, "W06200000", 0);
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_TRUE(b.p.form1.Picture2.visible);
    EXPECT_FALSE(b.p.form1.Picture1.visible);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_EQ(b.p.live.liveStep, 0);  // abandonEntry ran
    EXPECT_TRUE(b.p.form1.Command7.enabled);
    EXPECT_EQ(b.p.form1.focus, "Command3");
}

TEST(SendCommand, PortThatCannotBeWrittenCountsAsSilent) {
    LinkBench b;
    b.port.failWrite = true;
    b.p.transfer.unitIdentified = 1;
    sendCommand(b.p, "R01", 2);
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.p.link.replyText, "");
    EXPECT_TRUE(b.p.form1.Picture1.visible);

    b.port.close();
    b.port.failWrite = false;
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_EQ(b.p.link.replyText, "");
}

TEST(SendCommand, IdentifyModeKeepsTheRawHeadAndReportsNothing) {
    LinkBench b;
    b.p.link.identifyMode = true;
    b.port.reply("U0103\r");
    sendCommand(b.p, "U01", 2);
    EXPECT_EQ(b.p.link.replyHead, "U");
    EXPECT_EQ(b.p.link.replyText, "03");

    b.port.reply("#U0103\r");  // no noise removal while identifying
    sendCommand(b.p, "U01", 2);
    EXPECT_EQ(b.p.link.replyHead, "#");
    EXPECT_EQ(b.p.link.replyText, "10");

    b.port.reply("?\r");  // a rejection is not resent while identifying
    sendCommand(b.p, "U01", 2);
    EXPECT_EQ(b.p.link.replyHead, "?");
    EXPECT_EQ(b.port.frames.size(), 3u);

    sendCommand(b.p, "U01", 2);  // silent
    EXPECT_EQ(b.p.link.replyHead, "");
    EXPECT_EQ(b.p.link.replyText, "");
    EXPECT_EQ(b.dialogs.beeps, 0);
    EXPECT_FALSE(b.p.form1.Picture1.visible && !b.p.form1.Picture1.lines.empty());
}

TEST(SendCommand, QuickPollReadsOnceWithoutWaiting) {
    LinkBench b;
    b.p.link.quickPollMode = true;
    const double start = b.now();
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.now(), start);
    EXPECT_EQ(b.port.frames.size(), 1u);
    EXPECT_EQ(b.p.link.replyText, "");

    b.port.arrive("X01  12.5\r");
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.p.link.replyText, "  12.5\r");

    // The no-wait read is the live poll's: a transfer started meanwhile waits for its reply.
    b.port.script.push_back({{{0.2, "W01\r"}}});
    sendCommand(b.p, "W0102", 0);
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_NEAR(b.now() - start, 0.2, 0.001);
}

}  // namespace
}  // namespace sigcond
