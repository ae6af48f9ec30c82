#include <gtest/gtest.h>

#include "config/option_catalogue.h"
#include "ui/main_screen_ops.h"
#include "ui_bench.h"

namespace sigcond::test {
namespace {

bool panelHasLine(const Control& panel, const std::string& line) {
    return std::find(panel.lines.begin(), panel.lines.end(), line) != panel.lines.end();
}

TEST(MainScreenStartUp, ConnectedUnitTickByTick) {
    UiBench b;
    b.connectOn(1);
    const MainScreen& f = b.p.form1;
    // Loaded: menus that need a configuration are off, the cancel button and banner are up.
    EXPECT_TRUE(f.loaded);
    EXPECT_EQ(f.title, "SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM");
    for (const MenuItem* m : {&f.FILES, &f.CNF, &f.GRA, &f.VW, &f.DISP, &f.logdata}) {
        EXPECT_FALSE(m->enabled) << m->caption;
    }
    EXPECT_FALSE(f.ANA2.visible);
    EXPECT_FALSE(f.Command8.enabled);
    EXPECT_TRUE(f.Command5.visible);
    EXPECT_EQ(f.Command5.caption, "&Click here to cancel");
    EXPECT_EQ(f.Label3.caption, "  Establishing  Communication..........");
    EXPECT_EQ(f.Label3.width, 39 * 116);
    EXPECT_EQ(f.Label3.fontSize, 10);
    EXPECT_TRUE(f.Timer2.enabled);
    EXPECT_EQ(f.Timer2.intervalMs, 100);
    EXPECT_FALSE(f.Timer1.enabled);
    EXPECT_FALSE(b.port.isOpen());

    b.tick("Form1", "Timer2");  // action 0: layout
    EXPECT_EQ(b.p.screen.deferredAction, 3);
    EXPECT_EQ(f.Picture5.top + f.Picture5.height, f.Label2.top + f.Label2.height);
    EXPECT_TRUE(b.unit.frames().empty());

    b.tick("Form1", "Timer2");  // action 3: the read
    const std::vector<std::string> expected = {"U01", "R01", "R02", "R04", "R3C",
                                               "R3D", "R05", "R06", "R03"};
    EXPECT_EQ(b.commands(), expected);
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
    EXPECT_EQ(b.p.config.inputType, "TC");
    for (const MenuItem* m : {&f.FILES, &f.CNF, &f.GRA, &f.VW, &f.DISP, &f.logdata}) {
        EXPECT_TRUE(m->enabled) << m->caption;
    }
    EXPECT_TRUE(f.Command8.enabled);
    EXPECT_TRUE(f.Frame9.visible);
    EXPECT_FALSE(f.Command5.visible);
    EXPECT_EQ(f.Command5.caption, "&Click here to continue");
    EXPECT_FALSE(f.Label3.visible);
    EXPECT_FALSE(f.GATE.visible);
    EXPECT_TRUE(f.RESOL.visible);
    EXPECT_EQ(f.Label9.caption, "MODEL  :  THERMOCOUPLE");
    EXPECT_EQ(f.Label16.caption, "  mA");
    EXPECT_EQ(b.p.live.displayOn, 1);
    EXPECT_EQ(b.p.screen.deferredAction, 4);
    EXPECT_TRUE(f.Timer2.enabled);
    EXPECT_FALSE(f.Timer1.enabled);

    b.p.screen.abortFlag = 1;
    b.tick("Form1", "Timer2");  // action 4: live reading starts
    EXPECT_TRUE(f.Timer1.enabled);
    EXPECT_FALSE(f.Timer2.enabled);
    EXPECT_EQ(b.p.screen.abortFlag, 0);
    EXPECT_EQ(f.focus, "Command3");
    EXPECT_EQ(b.port.lineSettingsText(), "9600,O,7,1");
}

TEST(MainScreenStartUp, FrequencyAndAcCurrentUnitsReadTheirOwnRegisters) {
    UiBench fp;
    fp.unit.setType(sim::UnitType::FP);
    fp.unit.resetRegisters();
    ASSERT_TRUE(fp.unit.setRegister("0D", "14"));
    fp.connectOn(2);
    fp.runStartUp();
    const std::vector<std::string> fpOrder = {"U01", "R01", "R02", "R04", "R3C", "R3D",
                                              "R0D", "R0E", "R05", "R06", "R03"};
    EXPECT_EQ(fp.commands(), fpOrder);
    EXPECT_EQ(fp.p.config.inputType, "FP");
    EXPECT_EQ(fp.p.link.gateRegisterValue, "14");
    EXPECT_TRUE(fp.p.form1.GATE.visible);
    EXPECT_TRUE(fp.p.form1.DEBT.visible);
    EXPECT_TRUE(fp.p.form1.Label28[0].visible);
    EXPECT_EQ(fp.p.form1.Label28[0].caption, "Gate time                    =");

    UiBench acc;
    acc.unit.setType(sim::UnitType::ACC);
    acc.unit.resetRegisters();
    acc.connectOn(1);
    acc.runStartUp();
    const auto commands = acc.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "R03"), 0);
    EXPECT_EQ(acc.p.config.inputType, "ACC");
    EXPECT_FALSE(acc.p.form1.RESOL.visible);
    EXPECT_FALSE(acc.p.form1.LABEL18[0].visible);
    EXPECT_TRUE(acc.p.form1.Timer1.enabled);
}

TEST(MainScreenStartUp, UnitThatStopsAnsweringAtR3D) {
    UiBench b;
    ASSERT_TRUE(b.unit.setRegister("01", "2A"));
    b.unit.faults().silentCommands = {"R3D"};
    b.connectOn(1);
    EXPECT_EQ(b.runStartUp(), 2);  // the timer stops after the failed read
    const MainScreen& f = b.p.form1;
    EXPECT_EQ(b.commands().back(), "R3D");
    EXPECT_EQ(b.p.registers.registerText[1], "2A");
    EXPECT_EQ(b.p.registers.registerText[4], std::string(24, '0'));
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_EQ(b.p.transfer.readSucceeded, 0);
    EXPECT_EQ(b.dialogs.beeps, 1);  // one report
    EXPECT_TRUE(f.Picture1.visible);
    EXPECT_TRUE(panelHasLine(f.Picture1, "            Communication error !"));
    EXPECT_TRUE(f.Command5.visible);
    EXPECT_EQ(f.Command5.caption, "&Click here to continue");
    EXPECT_FALSE(f.CNF.enabled);
    EXPECT_FALSE(f.VW.enabled);
    EXPECT_FALSE(f.Timer1.enabled);  // no live reading after a failed read
    EXPECT_FALSE(f.Timer2.enabled);

    b.send("Form1", "Command5");
    EXPECT_TRUE(b.p.start.portChooserVisible);
    EXPECT_FALSE(programEnded(b.p));
}

TEST(MainScreenStartUp, PortThatCannotBeOpened) {
    UiBench b;
    b.port.setOpenFails(true);
    b.connectOn(4);
    b.runStartUp();
    const MainScreen& f = b.p.form1;
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_TRUE(panelHasLine(f.Picture1, "      You have chosen a wrong  SERIAL PORT"));
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_EQ(b.p.transfer.readSucceeded, 0);
    EXPECT_FALSE(f.Frame9.visible);
    EXPECT_TRUE(f.Command5.visible);
    EXPECT_FALSE(f.Timer2.enabled);
    EXPECT_FALSE(f.CNF.enabled);
}

TEST(MainScreenStartUp, NoUnitAtAnySettingKeepsTheBannerAndReportsOnce) {
    UiBench b;
    b.unit.faults().silent = true;
    b.connectOn(1);
    b.runStartUp();
    const MainScreen& f = b.p.form1;
    EXPECT_EQ(b.unit.frames().size(), 15u);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_TRUE(panelHasLine(f.Picture1, "        Make sure the  SERIAL PORT  chosen"));
    EXPECT_TRUE(f.Label3.visible);
    EXPECT_TRUE(b.p.link.identifyMode);
    EXPECT_FALSE(f.Frame9.visible);
    EXPECT_FALSE(f.Timer2.enabled);
}

TEST(MainScreenStartUp, CancelDuringTheSearchReturnsToThePortChooserSilently) {
    UiBench b;
    b.unit.faults().silent = true;
    b.connectOn(1);
    b.dialogs.atEventRun(3, [&] { b.send("Form1", "Command5"); });
    b.runStartUp();
    EXPECT_TRUE(b.p.start.portChooserVisible);
    EXPECT_FALSE(b.p.form1.loaded);
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_EQ(b.unit.frames().size(), 2u);
    EXPECT_EQ(b.dialogs.beeps, 0);
    EXPECT_FALSE(programEnded(b.p));
}

TEST(MainScreenStartUp, PortChosenWhileTheCancelledSearchUnwindsStartsAFreshSearch) {
    UiBench b;
    b.unit.faults().answerAt = {4800, 'E', 7, 1};
    b.connectOn(1);
    // Both clicks wait in the event queue while the second attempt blocks.
    b.dialogs.atEventRun(3, [&] {
        b.send("Form1", "Command5");
        b.send("Form5", "Command3", EventKind::Click, 1);
        b.tick("Form1", "Timer2");  // a tick of the new screen's timer in the same queue
    });
    b.runStartUp(10);
    EXPECT_EQ(b.port.portNumber(), 2);
    EXPECT_TRUE(b.p.form1.loaded);
    EXPECT_FALSE(b.p.start.portChooserVisible);
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
    EXPECT_EQ(b.dialogs.beeps, 0);
    EXPECT_EQ(b.port.lineSettingsText(), "4800,E,7,1");
    // Two attempts of the cancelled search, then the new one from the start: eight attempts.
    const auto lines = b.unit.frameLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "9600,O,7,1 U01");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "4800,E,7,1 U01"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "4800,E,7,1 R01"), 1);
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
}

TEST(MainScreenStartUp, DemoWorkSendsNothingAndKeepsUnitMenusOff) {
    UiBench b;
    b.demoWith(demoLineOf("ST"));
    const MainScreen& f = b.p.form1;
    EXPECT_EQ(b.p.screen.unitConnected, -1);
    EXPECT_EQ(b.p.config.inputType, "ST");
    EXPECT_FALSE(b.p.start.demo.visible);
    EXPECT_EQ(b.p.start.demo.List1.selected, -1);
    EXPECT_EQ(f.Label3.caption, "  Please wait...........");
    EXPECT_FALSE(f.Command5.visible);
    EXPECT_TRUE(f.CNF.enabled);
    EXPECT_TRUE(f.FILES.enabled);
    EXPECT_TRUE(f.Command8.enabled);
    EXPECT_EQ(b.runStartUp(), 3);
    EXPECT_EQ(b.port.openCount(), 0);
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
    EXPECT_FALSE(f.VW.enabled);
    EXPECT_FALSE(f.DISP.enabled);
    EXPECT_FALSE(f.logdata.enabled);
    EXPECT_FALSE(f.Frame9.visible);
    EXPECT_FALSE(f.Timer1.enabled);
    EXPECT_EQ(f.Label9.caption, "MODEL  :  STRAIN");
    EXPECT_EQ(b.p.config.choice[1][1], 1);
    EXPECT_EQ(b.p.config.scalingText[3], "10.0000");
}

TEST(MainScreenMenus, EachTypeShowsItsOwnMenusAndSummary) {
    const struct {
        const char* type;
        const char* name;
        bool resolution;
        bool frequency;
    } cases[] = {
        {"TC", "THERMOCOUPLE", true, false}, {"RTD", "RTD", true, false},
        {"PR", "PROCESS", true, false},      {"ST", "STRAIN", true, false},
        {"ACV", "AC VOLT", false, false},    {"ACC", "AC CURRENT", false, false},
        {"FP", "FREQUENCY/PULSE", true, true},
    };
    for (const auto& c : cases) {
        UiBench b;
        b.demoWith(demoLineOf(c.type));
        b.runStartUp();
        const MainScreen& f = b.p.form1;
        EXPECT_EQ(f.Label9.caption, std::string("MODEL  :  ") + c.name) << c.type;
        EXPECT_EQ(f.RESOL.visible, c.resolution) << c.type;
        EXPECT_EQ(f.LABEL18[0].visible, c.resolution) << c.type;
        EXPECT_EQ(f.GATE.visible, c.frequency) << c.type;
        EXPECT_EQ(f.DEBT.visible, c.frequency) << c.type;
        EXPECT_EQ(f.Label29[0].visible, c.frequency) << c.type;
        EXPECT_FALSE(f.ANA2.visible);
        EXPECT_EQ(f.LABEL17[1].caption, "0") << c.type;  // "No filtering"
    }
}

TEST(MainScreenLeaving, PreviousPageGoesBackButTheCloseBoxEnds) {
    UiBench b;
    b.demoWith(0);
    b.runStartUp();
    b.send("Form1", "GRA");
    ASSERT_TRUE(b.p.form9.visible);
    b.send("Form1", "Command8");
    EXPECT_FALSE(b.p.form1.loaded);
    EXPECT_FALSE(b.p.form9.visible);  // the graph window goes too
    EXPECT_TRUE(b.p.start.question.visible);
    EXPECT_EQ(b.p.start.question.pointer, Pointer::Arrow);
    EXPECT_FALSE(programEnded(b.p));

    // Back in again through the demo chooser, then the close box.
    b.send("Form3", "Command3", EventKind::Click, 1);
    b.send("Form4", "List1", EventKind::Click, -1, 6);
    EXPECT_TRUE(b.p.form1.loaded);
    EXPECT_EQ(b.p.screen.leavingToStart, 0);
    b.send("Form1", "", EventKind::CloseRequest);
    EXPECT_TRUE(programEnded(b.p));
}

TEST(MainScreenLeaving, ExitMenuAndButtonAskFirst) {
    UiBench b;
    b.connectOn(1);
    b.runStartUp();
    b.p.form1.Command5.enabled = false;
    b.dialogs.answers = {Answer::No};
    b.send("Form1", "EXTS");
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text, "Do you want to exit ?");
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Question);
    EXPECT_TRUE(b.p.form1.Command5.enabled);
    EXPECT_FALSE(programEnded(b.p));
    EXPECT_TRUE(b.port.isOpen());

    b.dialogs.answers = {Answer::Yes};
    b.send("Form1", "Command15");
    EXPECT_TRUE(programEnded(b.p));
    EXPECT_FALSE(b.p.form1.loaded);
    EXPECT_FALSE(b.port.isOpen());
    // Nothing runs once the program has ended.
    b.send("Form1", "Timer2", EventKind::Tick);
    EXPECT_FALSE(b.p.form1.loaded);
}

}  // namespace
}  // namespace sigcond::test
