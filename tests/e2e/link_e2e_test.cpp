// The serial command link through the real Qt serial-port adapter against sigcond-unit-sim on
// a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

#include "link/command_set.h"
#include "link/line_search.h"
#include "link/send_command.h"
#include "program.h"
#include "qt/qt_clock.h"
#include "qt/qt_serial_port.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

namespace sigcond {
namespace {

class LinkEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }

    // Starts the simulator with `arguments` and points "Com 1" at it.
    void startUnit(std::vector<std::string> arguments) {
        sim = std::make_unique<test::SimProcess>(std::move(arguments));
        ASSERT_TRUE(sim->start()) << sim->error();
        setenv("SIGCOND_COM1", sim->linkPath().c_str(), 1);
        fillLinkTables(p);
        p.link.portNumber = 1;
    }

    std::vector<std::string> repeated(const std::string& frame, int times) {
        return std::vector<std::string>(static_cast<std::size_t>(times), frame);
    }

    std::unique_ptr<test::SimProcess> sim;
    QtSerialPort port;
    SystemClock clock;
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};
};

TEST_F(LinkEndToEnd, IdentifiesTheUnitAt9600OddAndReadsRegisters) {
    startUnit({"--type", "RTD", "--register", "04=0A"});
    ASSERT_TRUE(connectToUnit(p));
    EXPECT_EQ(p.link.replyText, "04");
    EXPECT_EQ(p.link.lineSettings, "9600,O,7,1");
    EXPECT_EQ(describeComPort(1), sim->linkPath() + " (SIGCOND_COM1)");

    sendCommand(p, "R04", 2);
    EXPECT_EQ(p.link.replyText, "0A");
    p.link.longTimeoutOnce = true;
    sendCommand(p, "R3C", 12);
    EXPECT_EQ(p.link.replyText, "500000500000");
    sendCommand(p, "W0107", 0);
    EXPECT_EQ(p.link.linkError, 0);
    sendCommand(p, "R01", 2);
    EXPECT_EQ(p.link.replyText, "07");
    EXPECT_EQ(sim->frames(),
              (std::vector<std::string>{"9600,O,7,1 U01", "9600,O,7,1 R04", "9600,O,7,1 R3C",
                                        "9600,O,7,1 W0107", "9600,O,7,1 R01"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LinkEndToEnd, RejectedCommandIsSentThreeTimes) {
    startUnit({"--type", "TC", "--reject", "R03=5"});
    ASSERT_TRUE(connectToUnit(p));
    sim->clearFrames();
    sendCommand(p, "R03", 2);
    EXPECT_EQ(p.link.linkError, 0);
    EXPECT_EQ(sim->frames(), repeated("9600,O,7,1 R03", 3));
    EXPECT_EQ(p.live.errorPanelShown, 0);
}

TEST_F(LinkEndToEnd, SilentUnitTimesOutAfterTwoSeconds) {
    startUnit({"--type", "TC", "--silent-for", "R05"});
    ASSERT_TRUE(connectToUnit(p));
    const auto start = std::chrono::steady_clock::now();
    sendCommand(p, "R05", 6);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(p.link.linkError, 1);
    EXPECT_EQ(p.link.replyText, "");
    // Not before the 2 seconds; a little after them on a busy machine.
    EXPECT_GE(seconds, 1.98);
    EXPECT_LT(seconds, 2.5);
    EXPECT_EQ(p.live.errorPanelShown, 1);
}

TEST_F(LinkEndToEnd, SearchFindsA4800EvenUnitAtTheEighthAttempt) {
    startUnit({"--type", "ST", "--baud", "4800", "--parity", "E"});
    ASSERT_TRUE(connectToUnit(p));
    EXPECT_EQ(p.link.replyText, "02");
    EXPECT_EQ(p.link.lineSettings, "4800,E,7,1");
    const std::vector<std::string> expected = {
        "9600,O,7,1 U01",  "9600,E,7,1 U01",  "9600,N,7,2 U01", "19200,O,7,1 U01",
        "19200,E,7,1 U01", "19200,N,7,2 U01", "4800,O,7,1 U01", "4800,E,7,1 U01"};
    EXPECT_EQ(sim->frames(), expected);
    // The port stays at the found settings.
    sendCommand(p, "R02", 2);
    EXPECT_EQ(p.link.replyText, "46");
    EXPECT_EQ(sim->frames().back(), "4800,E,7,1 R02");
}

TEST_F(LinkEndToEnd, PortReopensTheDeviceByItselfWhenItIsBack) {
    startUnit({"--type", "PR"});
    ASSERT_TRUE(connectToUnit(p));
    EXPECT_FALSE(port.failed());
    sim->stop();

    // Gone: the exchange fails as with a silent unit, without burning the processor.
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    sendCommand(p, "R01", 2);
    EXPECT_EQ(p.link.linkError, 1);
    EXPECT_FALSE(port.waitForData(300));
    EXPECT_EQ(port.waitingCount(), 0);
    getrusage(RUSAGE_SELF, &after);
    const double cpu = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) +
                       (after.ru_utime.tv_usec - before.ru_utime.tv_usec) / 1e6;
    EXPECT_LT(cpu, 0.1);
    EXPECT_TRUE(port.isOpen());  // still the program's open port
    EXPECT_TRUE(port.failed());  // and it says what happened

    // Back on the same path: the next exchange goes through, at the settings found before.
    ASSERT_TRUE(sim->restart()) << sim->error();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sendCommand(p, "R01", 2);
    EXPECT_EQ(p.link.linkError, 0);
    EXPECT_EQ(p.link.replyText, "29");
    EXPECT_EQ(sim->frames().back(), "9600,O,7,1 R01");
}

TEST_F(LinkEndToEnd, SignalSwitchesTheUnitSilentAndBack) {
    startUnit({"--type", "TC"});
    port.setPortNumber(1);
    ASSERT_TRUE(port.open()) << port.errorText();
    port.setLineSettings("9600,O,7,1");
    sim->signal(SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(port.write("*U01\r"));
    EXPECT_FALSE(port.waitForData(300));
    sim->signal(SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(port.write("*U01\r"));
    std::string reply;
    while (reply.find('\r') == std::string::npos && port.waitForData(1000)) reply += port.readAll();
    EXPECT_EQ(reply, "U0103\r");
}

}  // namespace
}  // namespace sigcond
