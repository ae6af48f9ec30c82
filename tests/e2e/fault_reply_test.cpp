// Replies that are not what the program asked for: "?" for a command the unit will not take,
// replies cut short without their carriage return, and line noise ahead of the echo. A reply
// the program cannot use must stop the read or the send with a report, never pass for data.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "fault_fixture.h"

namespace sigcond::test {
namespace {

class FaultReply : public FaultE2E {
protected:
    std::vector<std::string> commandsSent() {
        watch->poll();
        std::vector<std::string> sent;
        for (const auto& f : watch->frames()) sent.push_back(f.command);
        return sent;
    }

    // The read has stopped with the communication error report and the way back to the port
    // chooser, before the live reading started.
    void expectReadStoppedWithReport() {
        const Program& p = app.program();
        EXPECT_EQ(errorPanel(), communicationErrorLines());
        EXPECT_EQ(p.transfer.readSucceeded, 0);
        EXPECT_FALSE(p.form1.Timer1.enabled);
        EXPECT_FALSE(menuEnabled("CNF"));
        EXPECT_FALSE(menuEnabled("VW"));
        EXPECT_TRUE(app.widget(kFaultMain, "Command5")->isVisible());
        EXPECT_TRUE(dialogs.texts.empty());
    }
};

TEST_F(FaultReply, ReadRetriesTwoRejectionsAndStopsAtAThird) {
    startUnit({"--type", "TC", "--reject", "R01=2", "--reject", "R02=3", "--register", "01=2B"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    settle(500);
    EXPECT_EQ(commandsSent(),
              (std::vector<std::string>{"U01", "R01", "R01", "R01", "R02", "R02", "R02"}))
        << trace();
    EXPECT_EQ(app.program().registers.registerText[1], "2B");
    expectReadStoppedWithReport();
}

TEST_F(FaultReply, EveryCommandRefusedTwiceIsTakenAtItsThirdSending) {
    std::vector<std::string> arguments = {
        "--type", "TC",         "--reading",       "12.34",      "--register",
        "04=03",  "--register", "3C=500000100000", "--register", "3D=5186A01003E8"};
    for (const char* head :
         {"U01", "R01", "R02", "R04", "R3C", "R3D", "R05", "R06", "R03", "X01",
          "W01", "W02", "W04", "W3C", "W3D", "W05", "W06", "W03", "W08", "Z01"}) {
        arguments.insert(arguments.end(), {"--reject", std::string(head) + "=2"});
    }
    startUnit(arguments);
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    EXPECT_EQ(p.transfer.readSucceeded, 1) << trace();
    EXPECT_EQ(p.registers.registerText[3], "03");
    EXPECT_EQ(p.registers.registerText[4], "5186A01003E8500000100000");
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 5000)) << trace();

    // The search sends no command twice itself: each "?" starts it again at the same setting.
    std::vector<std::string> read = commandsSent();
    ASSERT_GE(read.size(), 27u);
    read.resize(27);
    std::vector<std::string> expected;
    for (const char* c : {"U01", "R01", "R02", "R04", "R3C", "R3D", "R05", "R06", "R03"}) {
        expected.insert(expected.end(), 3, c);
    }
    EXPECT_EQ(read, expected);
    for (const auto& f : watch->frames())
        EXPECT_TRUE(f.frame.starts_with("9600,O,7,1 ")) << f.frame;

    const std::size_t before = watch->size();
    ASSERT_NO_FATAL_FAILURE(chooseFilter(4, QMessageBox::Yes));
    ASSERT_TRUE(waitFor([&] { return p.form1.Label3.caption == kSentBanner; }, 20000))
        << trace();
    watch->poll();
    std::vector<std::string> heads;
    for (std::size_t i = before; i < watch->frames().size(); ++i) {
        if (watch->frames()[i].command != "X01")
            heads.push_back(watch->frames()[i].command.substr(0, 3));
    }
    expected.clear();
    for (const char* c : {"W01", "W02", "W04", "W3C", "W3D", "W05", "W06", "W03", "W08", "Z01"}) {
        expected.insert(expected.end(), 3, c);
    }
    EXPECT_EQ(heads, expected);
    EXPECT_TRUE(errorPanel().isEmpty());
    EXPECT_EQ(dialogs.texts.size(), 1u);
}

TEST_F(FaultReply, ReadReplyCutShortStopsTheRead) {
    // "R01" + "2", then nothing: no carriage return, one of the two digits.
    startUnit({"--type", "TC", "--partial", "4", "--partial-for", "R01"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    settle(500);
    EXPECT_EQ(commandsSent(), (std::vector<std::string>{"U01", "R01"})) << trace();
    expectReadStoppedWithReport();
}

TEST_F(FaultReply, SendThatTheUnitRejectsIsNoSuccess) {
    startUnit({"--type", "TC", "--reading", "12.34", "--register", "3C=500000100000", "--register",
               "3D=5186A01003E8", "--reject", "W01=2", "--reject", "W3D=3"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 5000)) << trace();
    const std::size_t before = watch->size();
    ASSERT_NO_FATAL_FAILURE(chooseFilter(4, QMessageBox::Yes));

    // W01 goes through at its third sending; W3D is refused three times and ends the send.
    ASSERT_TRUE(watch->waitFor([&] { return indexOf("X01", before) >= 0; }, 15000)) << trace();
    std::vector<std::string> heads;
    for (std::size_t i = before; i < watch->frames().size(); ++i) {
        const std::string& c = watch->frames()[i].command;
        if (c == "X01") break;
        heads.push_back(c.substr(0, 3));
    }
    EXPECT_EQ(heads, (std::vector<std::string>{"W01", "W01", "W01", "W02", "W04", "W3C", "W3D",
                                               "W3D", "W3D"}))
        << watch->commandsFrom(before);
    EXPECT_NE(p.form1.Label3.caption, kSentBanner);
    EXPECT_FALSE(p.form1.Label3.visible);
    EXPECT_EQ(countOf("Z01", before), 0);
    // The unit kept its own scaling, and the output value shown follows it.
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 5000));
    EXPECT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 2000))
        << labelText(app, "Label7").toStdString();
    EXPECT_EQ(errorPanel(), communicationErrorLines());
    EXPECT_EQ(p.config.choice[3][1], 5);
}

TEST_F(FaultReply, IdentificationRejectedOverAndOverRunsUntilTheOperatorCancels) {
    // Bounded, so that a search that cannot be cancelled still ends (with the unit found).
    startUnit({"--type", "TC", "--reject", "U01=20000"});
    app.start();
    ASSERT_TRUE(press(app, kSplashWindow, "Command3"));
    ASSERT_TRUE(press(app, kWelcomeWindow, "Command1"));
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));
    // The search runs inside the start-up timer and lets screen events in between attempts:
    // the operator's click comes from a timer once the search has gone round 20 times.
    QTimer operatorClick;
    operatorClick.setInterval(50);
    QObject::connect(&operatorClick, &QTimer::timeout, [&] {
        auto* cancel = qobject_cast<QPushButton*>(app.widget(kFaultMain, "Command5"));
        if (watch->size() >= 20 && cancel && cancel->isVisible()) {
            operatorClick.stop();
            cancel->click();  // "&Click here to cancel"
        }
    });
    operatorClick.start();
    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kPortChooserWindow); }, 30000)) << trace();
    EXPECT_FALSE(app.program().transfer.unitIdentified);
    EXPECT_FALSE(windowShown(app, kFaultMain));
    for (const auto& f : watch->frames()) EXPECT_EQ(f.frame, "9600,O,7,1 U01");
    EXPECT_TRUE(dialogs.texts.empty());
    EXPECT_FALSE(app.renderer().ended());
}

TEST_F(FaultReply, NoiseAheadOfTheRepliesIsStrippedOnceTheUnitIsFound) {
    // Clean answers to the search, then two noise characters ahead of every reply.
    startUnit({"--type", "TC", "--reading", "12.34", "--register", "04=03", "--noise", "~#",
               "--noise-from", "2"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    const Program& p = app.program();
    EXPECT_EQ(p.transfer.readSucceeded, 1) << trace();
    EXPECT_EQ(p.registers.registerText[3], "03");
    EXPECT_EQ(p.registers.registerText[4], "5186A05186A0500000500000");
    EXPECT_EQ(p.registers.scaleRegisterText[1], "20000A");
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 5000))
        << labelText(app, "Label4").toStdString();
    EXPECT_TRUE(errorPanel().isEmpty());
}

TEST_F(FaultReply, NoiseAheadOfTheIdentificationFindsNoUnit) {
    // The search looks at the very first character of each answer: with noise ahead of the
    // "U" no attempt identifies the unit, and the report names the serial port.
    startUnit({"--type", "TC", "--noise", "~#"});
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    EXPECT_EQ(commandsSent(), std::vector<std::string>(15, "U01"));
    QStringList expected = communicationErrorLines();
    expected << QStringLiteral("        Make sure the  SERIAL PORT  chosen")
             << QStringLiteral("        correctly.");
    EXPECT_EQ(errorPanel(), expected);
    EXPECT_FALSE(app.widget(kFaultMain, "Command8")->isEnabled());  // "&Previous page"
    ASSERT_TRUE(press(app, kFaultMain, "Command5"));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kPortChooserWindow); }, 3000));
}

}  // namespace
}  // namespace sigcond::test
