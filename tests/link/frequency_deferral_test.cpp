#include <gtest/gtest.h>

#include "link/send_command.h"
#include "support/link_bench.h"

namespace sigcond {
namespace {

using test::LinkBench;

struct FrequencyBench : LinkBench {
    FrequencyBench() {
        p.config.inputType = "FP";
        p.transfer.unitIdentified = 1;
        p.link.gateRegisterValue = "14";  // v = 20: 18 polls
        p.link.lastFrequencyReading = "  50.00\r";
    }
};

TEST(FrequencyDeferral, ReadingNotReadyIsAwaitedOverEighteenCalls) {
    FrequencyBench b;
    sendCommand(b.p, "X01", 7);  // no answer: deferred
    EXPECT_EQ(b.port.frames.size(), 1u);
    EXPECT_EQ(b.p.link.replyText, "  50.00\r");
    EXPECT_EQ(b.p.link.deferredPolls, 18);
    EXPECT_EQ(b.p.link.settledCount, 0);
    EXPECT_EQ(b.p.link.linkError, 0);

    for (int call = 1; call <= 17; ++call) {
        sendCommand(b.p, "X01", 7);
        EXPECT_EQ(b.p.link.replyText, "  50.00\r") << "call " << call;
    }
    sendCommand(b.p, "X01", 7);  // the 18th following call: the polls have run out
    EXPECT_EQ(b.p.link.replyText, "");
    EXPECT_EQ(b.p.link.deferredPolls, 0);
    EXPECT_EQ(b.port.frames.size(), 1u);
    EXPECT_EQ(b.dialogs.beeps, 0);

    b.port.reply("X01  51.00\r");
    const double start = b.now();
    sendCommand(b.p, "X01", 7);  // the 19th sends again
    EXPECT_EQ(b.port.frames.size(), 2u);
    EXPECT_EQ(b.p.link.replyText, "  51.00\r");
    EXPECT_EQ(b.p.link.lastFrequencyReading, "  51.00\r");
    EXPECT_EQ(b.now(), start);
    EXPECT_EQ(b.p.link.settledCount, 1);
}

TEST(FrequencyDeferral, SixWaitingCharactersEndTheDeferral) {
    FrequencyBench b;
    sendCommand(b.p, "X01", 7);
    sendCommand(b.p, "X01", 7);
    b.port.arrive("X01 4");  // five characters are not enough
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.p.link.replyText, "  50.00\r");
    EXPECT_EQ(b.p.link.deferredPolls, 16);
    b.port.arrive("\r");  // the sixth
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.p.link.replyText, " 4\r");
    EXPECT_EQ(b.p.link.lastFrequencyReading, " 4\r");
    EXPECT_EQ(b.p.link.deferredPolls, 0);
    EXPECT_EQ(b.p.link.settledCount, 1);
    EXPECT_EQ(b.port.frames.size(), 1u);

    // The next exchange right after a deferral waits only one second.
    const double start = b.now();
    sendCommand(b.p, "R01", 2);
    EXPECT_NEAR(b.now() - start, 1.0, 0.001);
}

TEST(FrequencyDeferral, PollCountFollowsTheGateRegister) {
    const std::pair<const char*, int> cases[] = {{"14", 18}, {"FF", 53}, {"", 15}, {"00", 15}};
    for (auto [gate, polls] : cases) {
        FrequencyBench b;
        b.p.link.gateRegisterValue = gate;
        sendCommand(b.p, "X01", 7);
        EXPECT_EQ(b.p.link.deferredPolls, polls) << gate;
    }
    // A gate text that is no two-digit hex value still gives a count that runs out.
    for (const char* gate : {"  ", "ZZZZZZZZZZZZZZZZZZZZZZZZ", "!!!!"}) {
        FrequencyBench b;
        b.p.link.gateRegisterValue = gate;
        sendCommand(b.p, "X01", 7);
        EXPECT_GE(b.p.link.deferredPolls, 0) << gate;
        EXPECT_LE(b.p.link.deferredPolls, 1000) << gate;
        for (int i = 0; i < 1001 && b.p.link.deferredPolls != 0; ++i) sendCommand(b.p, "X01", 7);
        EXPECT_EQ(b.p.link.deferredPolls, 0) << gate;
    }
}

TEST(FrequencyDeferral, ReadingWithAnXBecomesZero) {
    FrequencyBench b;
    b.port.reply("X01 1X.5\r");
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.p.link.replyText, "     0.");
    EXPECT_EQ(b.p.link.lastFrequencyReading, "     0.");

    // Other types keep the reading as it came, and are never deferred.
    LinkBench tc;
    tc.port.reply("X01 1X.5\r");
    sendCommand(tc.p, "X01", 7);
    EXPECT_EQ(tc.p.link.replyText, " 1X.5\r");
    sendCommand(tc.p, "X01", 7);
    EXPECT_EQ(tc.p.link.deferredPolls, 0);
    EXPECT_EQ(tc.p.link.replyText, "");
}

TEST(FrequencyDeferral, OtherCommandsAreSentWhileAReadingIsPending) {
    FrequencyBench b;
    sendCommand(b.p, "X01", 7);
    b.port.arrive("X01 4");  // the start of the late reading, dropped
    b.port.reply("R0129\r", 0.2);
    sendCommand(b.p, "R01", 2);
    EXPECT_EQ(b.port.commands(), (std::vector<std::string>{"X01", "R01"}));
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_EQ(b.p.link.deferredPolls, 0);
    EXPECT_EQ(b.p.link.replyText, "29");

    b.port.reply("X01 48.\r");
    sendCommand(b.p, "X01", 7);  // the next reading is sent afresh
    EXPECT_EQ(b.port.frames.size(), 3u);
    EXPECT_EQ(b.p.link.replyText, " 48.\r");
}

TEST(FrequencyDeferral, QuickPollSendsNothingWhileAReadingIsPending) {
    FrequencyBench b;
    sendCommand(b.p, "X01", 7);
    b.p.link.quickPollMode = true;
    sendCommand(b.p, "X01", 7);
    EXPECT_EQ(b.port.frames.size(), 1u);
    EXPECT_EQ(b.p.link.replyText, "");
    EXPECT_EQ(b.p.link.deferredPolls, 0);  // the pending reading is given up
    EXPECT_EQ(b.p.link.lastFrequencyReading, "");
}

}  // namespace
}  // namespace sigcond
