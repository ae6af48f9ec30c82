// The start-up read of the configuration against a faulty unit: a unit that stops answering
// part-way, one that sends line noise ahead of every reply, one that rejects the reads, and one
// whose replies are cut short. The program must not hang, must say what went wrong on the error
// panel, and must lead the operator back to the port chooser.
#include <gtest/gtest.h>

#include "fault_fixture.h"

namespace sigcond::test {
namespace {

class FaultRead : public FaultE2E {};

TEST_F(FaultRead, UnitSilentAtR3DEndsTheReadWithOneReportThenAnotherPortPickReadsAgain) {
    startUnit({"--type", "TC", "--silent-for", "R3D", "--register", "01=2B", "--register", "02=44",
               "--register", "04=03"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();

    // The read stopped at R3D: nothing after it, and the live reading never started.
    settle(1200);
    watch->poll();
    std::vector<std::string> sent;
    for (const auto& f : watch->frames()) sent.push_back(f.command);
    EXPECT_EQ(sent, (std::vector<std::string>{"U01", "R01", "R02", "R04", "R3C", "R3D"}))
        << trace();
    EXPECT_FALSE(p.form1.Timer1.enabled);

    // The registers read before it are kept; the scaling slot keeps its catalogue default.
    EXPECT_EQ(p.registers.registerText[1], "2B");
    EXPECT_EQ(p.registers.registerText[2], "44");
    EXPECT_EQ(p.registers.registerText[3], "03");
    EXPECT_NE(p.registers.registerText[4].substr(0, 12), "5186A05186A0");

    // One report of the unit's silence, without the serial-port lines, and the way back.
    EXPECT_EQ(errorPanel(), communicationErrorLines());
    EXPECT_EQ(p.link.linkError, 0);
    EXPECT_FALSE(p.form1.Label3.visible);
    EXPECT_TRUE(app.widget(kFaultMain, "Command5")->isVisible());
    for (const char* menu : {"FILES", "CNF", "DISP", "VW", "GRA", "logdata"}) {
        EXPECT_FALSE(menuEnabled(menu)) << menu;
    }
    EXPECT_TRUE(dialogs.texts.empty());

    // The operator goes back, a healthy unit is on Com 1 now, and "Com 1" reads it from the
    // first line setting on.
    ASSERT_TRUE(press(app, kFaultMain, "Command5"));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kPortChooserWindow); }, 3000));
    EXPECT_FALSE(windowShown(app, kFaultMain));
    SimProcess& healthy = startUnit({"--type", "TC", "--reading", "21.50"});
    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kFaultMain); }, 3000));
    ASSERT_NO_FATAL_FAILURE(waitForReadEnd());
    EXPECT_EQ(healthy.frames().front(), "9600,O,7,1 U01");
    EXPECT_TRUE(p.form1.Timer1.enabled) << trace();
    EXPECT_TRUE(menuEnabled("CNF"));
    EXPECT_EQ(p.registers.registerText[4], "5186A05186A0500000500000");
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  21.50"; }, 5000))
        << labelText(app, "Label4").toStdString();
    EXPECT_TRUE(errorPanel().isEmpty());
    EXPECT_FALSE(app.renderer().ended());
}

}  // namespace
}  // namespace sigcond::test
