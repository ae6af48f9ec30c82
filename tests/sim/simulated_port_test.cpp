#include "sim/model/simulated_port.h"

#include <gtest/gtest.h>

#include "link/command_set.h"
#include "link/line_search.h"
#include "link/send_command.h"
#include "program.h"
#include "support/scripted_dialogs.h"

namespace sigcond::sim {
namespace {

struct SimBench {
    VirtualClock clock;
    UnitModel unit{UnitType::TC};
    SimulatedPort port{unit, clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    SimBench() {
        port.setPortNumber(1);
        port.setLineSettings("9600,O,7,1");
        port.open();
    }
};

TEST(SimulatedPort, WaitingMovesTheVirtualClockToTheReply) {
    SimBench bench;
    bench.unit.faults().replyDelaySeconds = 0.3;
    ASSERT_TRUE(bench.port.write("*R01\r"));
    EXPECT_EQ(bench.port.waitingCount(), 0);
    EXPECT_FALSE(bench.port.waitForData(100));  // too short: the whole wait passes
    EXPECT_DOUBLE_EQ(bench.clock.monotonicSeconds(), 0.1);
    EXPECT_TRUE(bench.port.waitForData(1000));  // stops when the reply arrives
    EXPECT_DOUBLE_EQ(bench.clock.monotonicSeconds(), 0.3);
    EXPECT_EQ(bench.port.readAll(), "R0129\r");
    EXPECT_EQ(bench.port.readAll(), "");

    // Wire time counts both ways: 5 frame characters and 6 reply characters at 9600 baud.
    bench.unit.faults().replyDelaySeconds = 0;
    bench.unit.faults().wireTime = true;
    const double start = bench.clock.monotonicSeconds();
    ASSERT_TRUE(bench.port.write("*R02\r"));
    std::string reply;
    while (reply.find('\r') == std::string::npos && bench.port.waitForData(50)) {
        reply += bench.port.readAll();
    }
    EXPECT_EQ(reply, "R0246\r");
    EXPECT_NEAR(bench.clock.monotonicSeconds() - start, 11 * 10.0 / 9600.0, 1e-9);

    // A silent unit: the wait runs out and reports nothing.
    bench.unit.faults().silent = true;
    ASSERT_TRUE(bench.port.write("*R02\r"));
    const double before = bench.clock.monotonicSeconds();
    EXPECT_FALSE(bench.port.waitForData(250));
    EXPECT_NEAR(bench.clock.monotonicSeconds() - before, 0.25, 1e-9);
}

TEST(SimulatedPort, OpenFailuresAndAPulledAdapter) {
    VirtualClock clock;
    UnitModel unit;
    SimulatedPort port(unit, clock);
    port.setAvailablePorts({2});
    port.setPortNumber(1);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.errorText().empty());
    port.setPortNumber(2);
    port.setOpenFails(true);
    EXPECT_FALSE(port.open());
    port.setOpenFails(false);
    ASSERT_TRUE(port.open());
    port.setLineSettings("9600,O,7,1");

    // Pulled out with a reply on its way: the reply is lost and every operation fails.
    unit.faults().replyDelaySeconds = 0.1;
    ASSERT_TRUE(port.write("*R01\r"));
    port.setPresent(false);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("*R01\r"));
    EXPECT_FALSE(port.waitForData(500));
    EXPECT_EQ(port.readAll(), "");
    EXPECT_FALSE(port.open());
    // Plugged back in: it opens again and works.
    port.setPresent(true);
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.openCount(), 2);
    ASSERT_TRUE(port.write("*R01\r"));
    EXPECT_TRUE(port.waitForData(500));
    EXPECT_EQ(port.readAll(), "R0129\r");
}

TEST(SimulatedPort, SevenBitLineStripsTheEighthBit) {
    SimBench bench;
    bench.unit.faults().noise = "\xD3\x8D";  // 'S' and CR with the top bit set
    bench.port.write("*Z01\r");
    EXPECT_EQ(bench.port.readAll(), "S\rZ01\r");
    bench.port.setLineSettings("9600,O,8,1");
    bench.port.write("*Z01\r");
    EXPECT_EQ(bench.port.readAll(), "\xD3\x8DZ01\r");
}

// The link routine on the model: the same exchanges the end-to-end tests make through a
// pseudo-terminal, here in virtual time.
TEST(SimulatedPort, CarriesTheLinkExchangesInVirtualTime) {
    SimBench bench;
    Program& p = bench.p;
    sendCommand(p, "R01", 2);
    EXPECT_EQ(p.link.replyText, "29");
    EXPECT_EQ(p.link.linkError, 0);

    bench.unit.faults().rejections = {{"R03", 5}};
    bench.unit.clearFrames();
    sendCommand(p, "R03", 2);
    EXPECT_EQ(bench.unit.frameLines(),
              (std::vector<std::string>{"9600,O,7,1 R03", "9600,O,7,1 R03", "9600,O,7,1 R03"}));
    EXPECT_EQ(p.link.linkError, 0);

    bench.unit.faults().silent = true;
    const double start = bench.clock.monotonicSeconds();
    sendCommand(p, "R05", 6);
    EXPECT_EQ(p.link.linkError, 1);
    EXPECT_NEAR(bench.clock.monotonicSeconds() - start, 2.0, 0.05);
}

// A frequency unit with its longest gate (register 0D "FF", 2.55 s) outlasts the 2-second
// wait: the first reading is deferred, and a later call picks up the late answer.
TEST(SimulatedPort, SlowFrequencyReadingIsPickedUpAfterTheDeferral) {
    SimBench bench;
    bench.unit.setType(UnitType::FP);
    bench.unit.setReading(ReadingSource::fixed(1234, 0));
    Program& p = bench.p;
    p.config.inputType = "FP";
    p.link.gateRegisterValue = "FF";

    sendCommand(p, "X01", 7);
    EXPECT_EQ(p.link.replyText, "     0.");  // the previous reading stands in
    EXPECT_EQ(p.link.deferredPolls, 53);
    EXPECT_NEAR(bench.clock.monotonicSeconds(), 2.0, 0.05);

    bench.clock.advance(0.45);  // next live tick: not there yet
    sendCommand(p, "X01", 7);
    EXPECT_EQ(p.link.replyText, "     0.");
    bench.clock.advance(0.45);  // the unit has answered by now
    sendCommand(p, "X01", 7);
    EXPECT_EQ(p.link.replyText, "  1234.\r");
    EXPECT_EQ(p.link.deferredPolls, 0);
    EXPECT_EQ(bench.unit.frameCount(), 1);  // the later calls sent nothing

    // Measuring goes on while readings are asked for: the next one comes at once.
    sendCommand(p, "X01", 7);
    EXPECT_EQ(p.link.replyText, "  1234.\r");
    EXPECT_EQ(bench.unit.frameCount(), 2);
}

TEST(SimulatedPort, SearchFindsAUnitAt4800EvenOnTheEighthAttempt) {
    SimBench bench;
    bench.port.close();
    bench.unit.faults().answerAt = {4800, 'E', 7, 1};
    Program& p = bench.p;
    fillLinkTables(p);
    p.link.portNumber = 3;
    EXPECT_TRUE(connectToUnit(p));
    EXPECT_EQ(p.link.replyText, "03");
    EXPECT_EQ(bench.port.portNumber(), 3);
    EXPECT_EQ(bench.port.lineSettingsText(), "4800,E,7,1");
    const std::vector<std::string> expected = {
        "9600,O,7,1 U01",  "9600,E,7,1 U01",  "9600,N,7,2 U01", "19200,O,7,1 U01",
        "19200,E,7,1 U01", "19200,N,7,2 U01", "4800,O,7,1 U01", "4800,E,7,1 U01"};
    EXPECT_EQ(bench.unit.frameLines(), expected);
}

}  // namespace
}  // namespace sigcond::sim
