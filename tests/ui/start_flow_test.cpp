#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "records/graph_window.h"
#include "ui/main_screen_ops.h"
#include "ui_bench.h"

namespace sigcond::test {
namespace {

TEST(StartFlow, SplashLayoutTimerKeepsDesignPositionsOnSmallScreensAndScalesOnLarge) {
    UiBench small;
    const SplashScreen& s = small.p.start.splash;
    EXPECT_TRUE(s.visible);
    EXPECT_EQ(s.title, "SIGNAL  CONDITIONER  PROGRAM");
    EXPECT_EQ(s.Label1.caption, "SIGNAL\rCONDITIONER\rPROGRAM");
    EXPECT_TRUE(s.Timer1.enabled);
    EXPECT_EQ(s.Timer1.intervalMs, 400);
    EXPECT_FALSE(s.Label1.visible);
    const int left = s.Label1.left, top = s.Label1.top, picLeft = s.Picture4.left;
    small.p.start.splash.width = 10000;
    small.p.start.splash.height = 8000;
    small.tick("Form6", "Timer1");
    EXPECT_EQ(s.Label1.left, left);
    EXPECT_EQ(s.Label1.top, top);
    EXPECT_EQ(s.Picture4.left, picLeft);
    EXPECT_TRUE(s.Label1.visible);
    EXPECT_TRUE(s.Picture4.visible);
    EXPECT_FALSE(s.Timer1.enabled);
    EXPECT_EQ(s.focus, "Command3");

    UiBench large;
    ScreenEvent resize;
    resize.window = "Form6";
    resize.kind = EventKind::Resize;
    resize.widthTwips = 19440;
    resize.heightTwips = 14640;
    dispatchEvent(large.p, resize);
    large.tick("Form6", "Timer1");
    const SplashScreen& l = large.p.start.splash;
    EXPECT_EQ(l.Label1.left, left + 5250);   // (19440 - 9720) * 5250 / 9720
    EXPECT_EQ(l.Label1.top, top + 1000);     // (14640 - 7320) * 1000 / 7320
    EXPECT_EQ(l.Picture4.left, picLeft * 2);

    // Shown again, the splash screen keeps its layout: the timer does not run twice.
    large.send("Form6", "Command3");
    large.send("Form2", "Command2");
    EXPECT_TRUE(l.visible);
    EXPECT_FALSE(l.Timer1.enabled);
    EXPECT_EQ(l.Label1.left, left + 5250);
}

TEST(StartFlow, ContinueSetsTablesAndWalkingBackAndForthSetsThemAgain) {
    UiBench b;
    b.send("Form6", "Command3");
    EXPECT_FALSE(b.p.start.splash.visible);
    EXPECT_TRUE(b.p.start.welcome.visible);
    EXPECT_DOUBLE_EQ(b.p.live.outputOffset, 850);
    EXPECT_DOUBLE_EQ(b.p.live.outputScale, 55400);
    EXPECT_EQ(b.p.registers.scaleReadCommand[1], "R05");
    EXPECT_EQ(b.p.registers.scaleReadCommand[2], "R06");
    EXPECT_EQ(b.p.start.welcome.title,
              "WELCOME  TO THE  SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM");
    EXPECT_EQ(b.p.start.welcome.Label3.caption, "\xAE");
    const std::string& id = b.p.start.welcome.Label4.caption;
    EXPECT_EQ(std::count(id.begin(), id.end(), '\r'), 9);
    EXPECT_NE(id.find("\rTKR Setup Program\rVersion 1.3"), std::string::npos);

    b.send("Form2", "Command1");
    EXPECT_TRUE(b.p.start.question.visible);
    const auto baud = b.p.link.baudTable;
    EXPECT_EQ(baud[1], "9600");
    EXPECT_EQ(baud[5], "1200");
    EXPECT_EQ(b.p.link.parityTable[3], "N");
    EXPECT_EQ(b.p.registers.registerNumber[5], "0D");

    b.send("Form3", "Command1");  // previous page
    EXPECT_TRUE(b.p.start.welcome.visible);
    b.send("Form2", "Command2");  // previous page
    EXPECT_TRUE(b.p.start.splash.visible);
    b.toQuestion();
    EXPECT_EQ(b.p.link.baudTable, baud);
    EXPECT_TRUE(b.p.start.question.visible);
    EXPECT_FALSE(b.p.start.welcome.visible);
}

TEST(StartFlow, QuestionScreenTextsAndAnswers) {
    UiBench b;
    b.toQuestion();
    const QuestionScreen& q = b.p.start.question;
    EXPECT_EQ(q.title, "SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM");
    EXPECT_EQ(q.Label1.caption, "Are you connecting SIGNAL CONDITIONER ?");
    EXPECT_EQ(q.Label2.caption,
              "   Choose  'Yes'  if you have a \r    signal conditioner connected.\r\r    Choose  "
              "'No'  if you want to set\r    your 'configuration' and later\r    download to a "
              "signal conditioner.");
    b.tick("Form3", "Timer1");
    EXPECT_TRUE(q.Frame1.visible);
    EXPECT_EQ(q.Frame1.left, (kSplashDesignWidth - q.Frame1.width) / 2);

    b.p.link.portNumber = 3;
    b.p.link.quickPollMode = true;
    b.send("Form3", "Command3", EventKind::Click, 0);
    EXPECT_EQ(b.p.screen.unitConnected, 1);
    EXPECT_EQ(b.p.link.portNumber, 0);
    EXPECT_FALSE(b.p.link.quickPollMode);
    EXPECT_TRUE(b.p.start.portChooserVisible);
    EXPECT_FALSE(q.visible);
    const PortChooserScreen& c = b.p.start.portChooser;
    EXPECT_EQ(c.title, "SIGNAL CONDITIONER  CONFIGURATION  PROGRAM");
    EXPECT_EQ(c.Label2.caption, "Select your serial port :");
    EXPECT_EQ(c.Command3[2].caption, "Com &3");
    b.tick("Form5", "Timer1");
    EXPECT_TRUE(c.Frame1.visible);
    EXPECT_FALSE(c.Timer1.enabled);

    b.send("Form5", "Command1");  // previous page
    EXPECT_FALSE(b.p.start.portChooserVisible);
    // An earlier session filled the buffer; demo work starts it afresh from its first slot.
    for (int i = 0; i < 30; ++i) appendTrendPoint(b.p, "7");
    b.send("Form3", "Command3", EventKind::Click, 1);
    EXPECT_EQ(b.p.screen.unitConnected, 0);
    EXPECT_EQ(b.p.trend.trendCount, 0);
    EXPECT_EQ(b.p.trend.trendValues[2], 0);
    appendTrendPoint(b.p, "4.5");
    EXPECT_EQ(b.p.trend.trendValues[1], 4.5);
    EXPECT_EQ(b.p.trend.trendValues[2], 0);
    EXPECT_TRUE(b.p.start.demo.visible);
    EXPECT_EQ(b.p.start.demo.title, "SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM");
    const std::vector<std::string> lines = {
        "  Thermocouple       ", "  RTD              ", "  Process          ",
        "  Strain           ",   "  AC volt          ", "  AC current       ",
        "  Frequency/Pulse  "};
    EXPECT_EQ(b.p.start.demo.List1.lines, lines);
    EXPECT_EQ(b.p.start.demo.Label2.caption, "Choose the Input Type for Demo :");
}

TEST(StartFlow, ExitAsksAndOnlyYesEndsTheProgram) {
    UiBench b;
    b.toQuestion();
    b.dialogs.answers = {Answer::No};
    b.send("Form3", "Command2");
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text, "Do you want to exit ?");
    EXPECT_EQ(b.dialogs.messages[0].title, " ");
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Information);
    EXPECT_EQ(b.dialogs.messages[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(programEnded(b.p));
    EXPECT_TRUE(b.p.start.question.visible);

    b.dialogs.answers = {Answer::Yes};
    b.send("Form3", "Command2");
    EXPECT_TRUE(programEnded(b.p));
    EXPECT_FALSE(b.p.start.question.visible);

    UiBench closing;
    closing.toQuestion();
    closing.send("Form3", "", EventKind::CloseRequest);
    EXPECT_TRUE(programEnded(closing.p));
}

TEST(StartFlow, ChoosingAPortLoadsTheMainScreenAndChoosingAgainReloadsIt) {
    UiBench b;
    b.unit.faults().silent = true;
    b.connectOn(3);
    EXPECT_EQ(b.p.link.portNumber, 3);
    EXPECT_TRUE(b.p.form1.loaded);
    EXPECT_FALSE(b.p.start.portChooserVisible);
    EXPECT_EQ(b.p.start.portChooser.pointer, Pointer::Arrow);
    b.runStartUp();
    EXPECT_EQ(b.port.portNumber(), 3);
    EXPECT_EQ(b.port.openCount(), 1);
    EXPECT_EQ(b.p.form1.Command5.caption, "&Click here to continue");

    b.send("Form1", "Command5");  // back to the port chooser
    EXPECT_TRUE(b.p.start.portChooserVisible);
    EXPECT_FALSE(b.p.form1.loaded);
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_FALSE(programEnded(b.p));

    b.unit.faults().silent = false;
    b.unit.clearFrames();
    b.send("Form5", "Command3", EventKind::Click, 0);
    b.runStartUp();
    ASSERT_FALSE(b.unit.frames().empty());
    EXPECT_EQ(b.unit.frames()[0].frame, "U01");
    EXPECT_EQ(b.port.portNumber(), 1);
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
}

TEST(StartFlow, WindowsDescribeEveryControlOnce) {
    UiBench b;
    const auto views = windowsOf(b.p);
    std::vector<std::string> names;
    for (const auto& v : views) names.push_back(v.name);
    for (const char* w : {"Form6", "Form2", "Form3", "Form4", "Form5", "Form1"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), w), names.end()) << w;
    }
    for (const auto& v : views) {
        ASSERT_NE(v.visible, nullptr) << v.name;
        std::set<std::pair<std::string, int>> seen;
        for (const auto& c : v.controls) {
            EXPECT_NE(c.control, nullptr);
            EXPECT_TRUE(seen.insert({c.name, c.index}).second) << v.name << " " << c.name;
        }
    }
    const auto& portChooser = *std::find_if(views.begin(), views.end(),
                                            [](const WindowView& v) { return v.name == "Form5"; });
    EXPECT_EQ(portChooser.visible, &b.p.start.portChooserVisible);
}

}  // namespace
}  // namespace sigcond::test
