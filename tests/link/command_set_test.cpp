#include "link/command_set.h"

#include <gtest/gtest.h>

#include <map>

#include "link/register_map.h"
#include "support/link_bench.h"

namespace sigcond {
namespace {

using test::LinkBench;
using test::ScriptedReply;
using Commands = std::vector<std::string>;

Commands texts(const std::vector<CommandStep>& steps) {
    Commands out;
    for (const auto& s : steps) out.push_back(s.command);
    return out;
}

// A unit that echoes the head and answers reads from a table of register values.
void answerReads(test::ScriptedPort& port, std::map<std::string, std::string> values) {
    port.responder = [values](const std::string& command, const std::string&) {
        const std::string head = command.substr(0, 3);
        auto it = values.find(head);
        if (head[0] == 'R' && it == values.end()) return std::optional<ScriptedReply>{};
        return std::optional{
            ScriptedReply::text(head + (it == values.end() ? "" : it->second) + "\r")};
    };
}

bool runAll(Program& p, const std::vector<CommandStep>& steps) {
    for (const auto& s : steps) {
        if (!runStep(p, s)) return false;
    }
    return true;
}

TEST(CommandSet, LineSettingsAndTables) {
    EXPECT_EQ(lineSettingsText("9600", "O"), "9600,O,7,1");
    EXPECT_EQ(lineSettingsText("9600", "N"), "9600,N,7,2");
    EXPECT_EQ(lineSettingsText("1200", "E"), "1200,E,7,1");

    LinkBench b;
    EXPECT_EQ(b.p.link.baudTable[1], "9600");
    EXPECT_EQ(b.p.link.baudTable[5], "1200");
    EXPECT_EQ(b.p.link.parityTable[3], "N");
    EXPECT_EQ(b.p.registers.registerNumber[5], "0D");
    EXPECT_EQ(b.p.registers.registerNumber[3], "04");
    EXPECT_EQ(b.p.registers.scaleReadCommand[2], "R06");
    EXPECT_EQ(replyLengthFor("Q01"), 0);  // a head the table does not know
    RegisterImage fresh;
    setRegisterDefaults(fresh, "FP");
    EXPECT_EQ(fresh.registerNumber[5], "0D");
    EXPECT_EQ(fresh.encodedGroupCount, 6);

    b.p.link.deferredPolls = 4;
    b.p.link.settledCount = 0;
    b.p.link.quickPollMode = true;
    b.p.link.lastFrequencyReading = "x";
    b.p.link.replyText = "X01  12.5\r";
    b.p.link.replyHead = "X";
    b.p.link.linkError = 1;
    b.p.link.longTimeoutOnce = true;
    b.p.link.replyTimeout = 4;
    b.p.link.lineSettings = "1200,N,7,2";
    resetLinkState(b.p);
    const LinkState& l = b.p.link;
    EXPECT_EQ(l.deferredPolls, 0);
    EXPECT_EQ(l.settledCount, 3);
    EXPECT_FALSE(l.quickPollMode);
    EXPECT_EQ(l.lastFrequencyReading, "     0.");
    EXPECT_EQ(l.replyText + l.replyHead + l.lineSettings, "");
    EXPECT_EQ(l.linkError, 0);
    EXPECT_FALSE(l.longTimeoutOnce);
    EXPECT_EQ(l.replyTimeout, 2);
}

TEST(CommandSet, ReadSequencePerType) {
    LinkBench b;
    setRegisterDefaults(b.p.registers, "FP");
    b.p.config.inputType = "FP";
    EXPECT_EQ(texts(configurationReadSequence(b.p)),
              (Commands{"R01", "R02", "R04", "R3C", "R3D", "R0D", "R0E", "R05", "R06", "R03"}));
    setRegisterDefaults(b.p.registers, "TC");
    b.p.config.inputType = "TC";
    EXPECT_EQ(texts(configurationReadSequence(b.p)),
              (Commands{"R01", "R02", "R04", "R3C", "R3D", "R05", "R06", "R03"}));
    setRegisterDefaults(b.p.registers, "ACV");
    b.p.config.inputType = "ACV";
    EXPECT_EQ(configurationReadSequence(b.p).size(), 7u);
    for (const auto& s : configurationReadSequence(b.p)) {
        EXPECT_EQ(s.replyLength, replyLengthFor(s.command)) << s.command;
        EXPECT_EQ(s.longTimeout, s.command == "R3C" || s.command == "R3D") << s.command;
    }
}

TEST(CommandSet, ReadStoresTheImageWithTheHighHalfFirst) {
    LinkBench b;
    setRegisterDefaults(b.p.registers, "FP");
    b.p.config.inputType = "FP";
    answerReads(b.port, {{"R01", "2A"},
                         {"R02", "47"},
                         {"R04", "05"},
                         {"R3C", "111111111111"},
                         {"R3D", "222222222222"},
                         {"R0D", "14"},
                         {"R0E", "FA"},
                         {"R05", "300002"},
                         {"R06", "200000"},
                         {"R03", "03"}});
    ASSERT_TRUE(runAll(b.p, configurationReadSequence(b.p)));
    const auto& r = b.p.registers;
    EXPECT_EQ(r.registerText[1], "2A");
    EXPECT_EQ(r.registerText[4], "222222222222111111111111");
    EXPECT_EQ(r.registerText[5], "14");
    EXPECT_EQ(b.p.link.gateRegisterValue, "14");
    EXPECT_EQ(r.registerText[6], "FA");
    EXPECT_EQ(r.scaleRegisterText[1], "300002");
    EXPECT_EQ(r.scaleRegisterText[2], "200000");
    EXPECT_EQ(r.registerText[7], "03");
}

TEST(CommandSet, ReadStopsAtASilentRegisterAndKeepsSlotFourDefault) {
    LinkBench b;
    setRegisterDefaults(b.p.registers, "TC");
    answerReads(b.port, {{"R01", "2A"}, {"R02", "47"}, {"R04", "05"}, {"R3C", "111111111111"}});
    const double start = b.now();
    EXPECT_FALSE(runAll(b.p, configurationReadSequence(b.p)));
    EXPECT_EQ(b.port.commands().back(), "R3D");
    EXPECT_NEAR(b.now() - start, 4.0, 0.001);  // the long timeout of "R3D"
    EXPECT_EQ(b.p.registers.registerText[3], "05");
    EXPECT_EQ(b.p.registers.registerText[4], "000000000000000000000000");
    EXPECT_EQ(b.p.link.linkError, 1);

    // A silent scale register is stored as it came (empty) before the read stops.
    LinkBench s;
    setRegisterDefaults(s.p.registers, "TC");
    s.p.registers.scaleRegisterText[1] = "old";
    answerReads(s.port, {{"R01", "2A"},
                         {"R02", "47"},
                         {"R04", "05"},
                         {"R3C", "111111111111"},
                         {"R3D", "222222222222"}});
    EXPECT_FALSE(runAll(s.p, configurationReadSequence(s.p)));
    EXPECT_EQ(s.port.commands().back(), "R05");
    EXPECT_EQ(s.p.registers.scaleRegisterText[1], "");

    // A register answered with one digit: its carriage return is not data, the read is short.
    LinkBench c;
    setRegisterDefaults(c.p.registers, "TC");
    answerReads(c.port, {{"R01", "2A"}, {"R02", "47"}, {"R04", "5"}});
    EXPECT_FALSE(runAll(c.p, configurationReadSequence(c.p)));
    EXPECT_EQ(c.port.commands().back(), "R04");
    EXPECT_EQ(c.p.registers.registerText[3], "06");
}

struct WriteBench : LinkBench {
    explicit WriteBench(const std::string& type) {
        setRegisterDefaults(p.registers, type);
        p.config.inputType = type;
        p.registers.registerText[7] = "03";
        p.registers.scalePairLow = "500000500000";
        p.registers.scalePairHigh = "5186A05186A0";
        p.registers.scaleOffset[1] = "300002";
        p.registers.scaleOffset[2] = "200000";
    }
};

TEST(CommandSet, WriteSequencePerTypeFullAndPartial) {
    WriteBench tc("TC");
    EXPECT_EQ(texts(configurationWriteSequence(tc.p, false)),
              (Commands{"W0129", "W0246", "W0406", "W3C500000500000", "W3D5186A05186A0",
                        "W05300002", "W06200000", "W0303", "W0814", "Z01"}));
    EXPECT_EQ(texts(configurationWriteSequence(tc.p, true)),
              (Commands{"W0129", "W0246", "W0406", "W0303"}));

    WriteBench acv("ACV");
    EXPECT_EQ(texts(configurationWriteSequence(acv.p, false)),
              (Commands{"W0129", "W0246", "W0406", "W3C500000500000", "W3D5186A05186A0",
                        "W05300002", "W06200000", "W0814", "Z01"}));

    WriteBench fp("FP");
    const auto steps = configurationWriteSequence(fp.p, false);
    EXPECT_EQ(texts(steps),
              (Commands{"W0129", "W0246", "W0406", "W3C500000500000", "W3D5186A05186A0",
                        "W05300002", "W06200000", "W0DFF", "W0EFB", "W0303", "W0814", "Z01"}));
    for (const auto& s : steps) {
        const bool slow = s.command.starts_with("W3") || s.command.starts_with("W05") ||
                          s.command.starts_with("W06") || s.command == "Z01";
        EXPECT_EQ(s.longTimeout, slow) << s.command;
        EXPECT_EQ(s.replyLength, 0);
    }
}

TEST(CommandSet, WriteStopsAtTheFirstFailureAndDropsStaleInput) {
    WriteBench b("TC");
    b.port.responder = [](const std::string& command, const std::string&) {
        if (command.starts_with("W3D")) return std::optional<ScriptedReply>{};
        return std::optional{ScriptedReply::text(command.substr(0, 3) + "\r")};
    };
    // A late refusal waiting before the first write and before the scaling points is dropped,
    // not taken for the answer to the write.
    const auto steps = configurationWriteSequence(b.p, false);
    bool ok = true;
    for (std::size_t n = 0; ok && n < steps.size(); ++n) {
        if (n == 0 || n == 3) b.port.arrive("?\r");
        ok = runStep(b.p, steps[n]);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(b.port.commands(),
              (Commands{"W0129", "W0246", "W0406", "W3C500000500000", "W3D5186A05186A0"}));
}

TEST(CommandSet, LiveOutputAndSingleUpdate) {
    const auto burst = liveOutputSequence("300002");
    EXPECT_EQ(texts(burst), (Commands{"W06200000", "W05300002", "Z01"}));
    for (const auto& s : burst) {
        EXPECT_TRUE(s.longTimeout);
        EXPECT_EQ(s.replyLength, 0);
    }
    EXPECT_FALSE(outputUpdateStep().longTimeout);
    EXPECT_EQ(outputUpdateStep().command, "Z01");
    EXPECT_EQ(liveReadingStep().command, "X01");
    EXPECT_EQ(identificationStep().command, "U01");
    EXPECT_EQ(identificationStep().replyLength, 2);

    LinkBench b;
    b.p.transfer.unitIdentified = 1;
    const double start = b.now();
    EXPECT_FALSE(runStep(b.p, burst[0]));
    EXPECT_NEAR(b.now() - start, 4.0, 0.001);
}

}  // namespace
}  // namespace sigcond
