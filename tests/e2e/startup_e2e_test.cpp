// The real program, in-process on Qt's offscreen platform, walked through its start-up screens
// as an operator would: demo work, a unit found by the line-settings search on a simulated unit
// (sigcond-unit-sim on a pseudo-terminal), and the error panel for a port with nothing behind
// it. With SIGCOND_SCREENSHOT_DIR set, pictures of every screen are saved there.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <cstdlib>

#include "qt/application.h"
#include "qt/control_widgets.h"
#include "e2e_session.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"
#include "ui/main_screen_ops.h"
#include "ui/start_flow.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;

QString textOf(qt::Application& app, const std::string& window, const std::string& control,
               int index = -1) {
    QWidget* w = app.widget(window, control, index);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) return frame->title();
    return {};
}

// Every text on the window fits its control; a picture is saved when asked for.
void lookAt(QWidget* window, const std::string& name) {
    savePicture(window, name);
    for (const std::string& cut : cutTexts(window)) ADD_FAILURE() << name << ": cut text " << cut;
}

// Splash -> welcome -> question screen, saving a picture of each.
void walkToQuestion(qt::Application& app) {
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kSplashWindow); }, 3000));
    ASSERT_TRUE(waitForWidget(app, kSplashWindow, "Label1"));
    lookAt(app.renderer().window(kSplashWindow), "01-splash");
    ASSERT_TRUE(press(app, kSplashWindow, "Command3"));
    ASSERT_TRUE(waitForWidget(app, kWelcomeWindow, "Frame2"));
    lookAt(app.renderer().window(kWelcomeWindow), "02-welcome");
    ASSERT_TRUE(press(app, kWelcomeWindow, "Command1"));
    ASSERT_TRUE(waitForWidget(app, kQuestionWindow, "Frame1"));
    EXPECT_FALSE(windowShown(app, kWelcomeWindow));
    EXPECT_EQ(textOf(app, kQuestionWindow, "Label1"),
              QStringLiteral("Are you connecting SIGNAL CONDITIONER ?"));
    lookAt(app.renderer().window(kQuestionWindow), "03-question");
}

// Opens each option panel from the Configuration menu and saves a picture of it.
void visitOptionPanels(qt::Application& app, const std::string& prefix) {
    const struct {
        const char* menu;
        const char* frame;
        const char* picture;
    } panels[] = {{"INPF", "Frame4", "panel-input"},
                  {"IOCF", "Frame4", "panel-output-mode"},
                  {"FILTER", "Frame7", "panel-filter"},
                  {"RESOL", "Frame7", "panel-resolution"}};
    for (const auto& panel : panels) {
        ASSERT_TRUE(chooseMenu(app, kMain, "CNF", panel.menu)) << panel.menu;
        ASSERT_TRUE(waitForWidget(app, kMain, panel.frame, -1, 2000)) << panel.menu;
        lookAt(app.renderer().window(kMain), prefix + "-" + panel.picture);
        // Cancel: back to the summary.
        ASSERT_TRUE(press(app, kMain, panel.frame == std::string("Frame4") ? "Command10"
                                                                         : "Command11"));
        ASSERT_TRUE(waitFor([&] { return !app.widget(kMain, panel.frame)->isVisible(); }, 2000));
    }
}

// Made first, so the QApplication exists before any member that needs it.
struct WithQtApplication {
    WithQtApplication() { qtApplication(); }
};

class StartupE2E : public ::testing::Test, private WithQtApplication {
protected:
    ~StartupE2E() override {
        for (const char* name : {"SIGCOND_COM1", "SIGCOND_COM2"}) unsetenv(name);
    }
    DialogWatcher dialogs;
};

TEST_F(StartupE2E, DemoWorkOpensTheMainScreenWithoutTouchingThePort) {
    setenv("SIGCOND_COM1", "/nonexistent/sigcond-port", 1);
    qt::Application app;
    app.start();
    walkToQuestion(app);
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 1));  // "&No"
    auto* list = qobject_cast<QListWidget*>(waitForWidget(app, kDemoWindow, "List1"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 7);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("  Strain           "));
    lookAt(app.renderer().window(kDemoWindow), "04-demo-chooser");

    list->setCurrentRow(0);  // "  Thermocouple       "
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kMain); }, 3000));
    EXPECT_FALSE(windowShown(app, kDemoWindow));
    ASSERT_TRUE(waitFor([&] { return !app.program().form1.Timer2.enabled; }, 5000));
    settle(200);
    EXPECT_EQ(app.program().config.inputType, "TC");
    EXPECT_FALSE(app.port().isOpen());
    EXPECT_EQ(app.renderer().window(kMain)->windowTitle(),
              QStringLiteral("SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM"));
    // Demo work: no live frame, send and display menus off, configuration menu on.
    EXPECT_FALSE(app.widget(kMain, "Frame9")->isVisible());
    auto* mainWindow = app.renderer().window(kMain);
    EXPECT_FALSE(mainWindow->menuAction("VW")->isEnabled());
    EXPECT_FALSE(mainWindow->menuAction("DISP")->isEnabled());
    EXPECT_TRUE(mainWindow->menuAction("CNF")->isEnabled());
    EXPECT_FALSE(mainWindow->menuAction("GATE")->isVisible());
    lookAt(mainWindow, "10-main-demo");
    visitOptionPanels(app, "11-demo");
    EXPECT_TRUE(dialogs.texts.empty());

    // Back to the question screen with "&Previous page"; the program goes on.
    ASSERT_TRUE(press(app, kMain, "Command8"));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kQuestionWindow); }, 3000));
    EXPECT_FALSE(windowShown(app, kMain));
    EXPECT_FALSE(app.renderer().ended());

    // "&Exit", then "Yes": the program ends.
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(press(app, kQuestionWindow, "Command2"));
    ASSERT_TRUE(waitFor([&] { return app.renderer().ended(); }, 3000));
    ASSERT_FALSE(dialogs.texts.empty());
    EXPECT_EQ(dialogs.texts.back(), "Do you want to exit ?");
}

TEST_F(StartupE2E, UnitAt4800EvenIsFoundAtTheEighthAttemptAndItsConfigurationShown) {
    SimProcess sim({"--type", "TC", "--baud", "4800", "--parity", "E", "--register", "04=04"});
    ASSERT_TRUE(sim.start()) << sim.error();
    setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
    qt::Application app;
    app.start();
    walkToQuestion(app);
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));  // "&Yes"
    ASSERT_TRUE(waitForWidget(app, kPortChooserWindow, "Command3", 0));
    // The port buttons say which device they open.
    ASSERT_TRUE(waitFor(
        [&] {
            return app.widget(kPortChooserWindow, "Command3", 0)->toolTip().contains(
                QString::fromStdString(sim.linkPath()));
        },
        2000));
    lookAt(app.renderer().window(kPortChooserWindow), "05-port-chooser");

    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));  // "Com &1"
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kMain); }, 3000));
    // The search runs inside the start-up timer; the banner is on screen meanwhile.
    ASSERT_TRUE(waitFor([&] { return app.program().transfer.unitIdentified == 1; }, 30000));
    lookAt(app.renderer().window(kMain), "09-main-connecting");
    ASSERT_TRUE(waitFor([&] { return app.widget(kMain, "Frame9")->isVisible(); }, 20000));
    ASSERT_TRUE(waitFor([&] { return !app.program().form1.Timer2.enabled; }, 5000));

    const std::vector<std::string> frames = sim.frames();
    const std::vector<std::string> expected = {
        "9600,O,7,1 U01",  "9600,E,7,1 U01",  "9600,N,7,2 U01",  "19200,O,7,1 U01",
        "19200,E,7,1 U01", "19200,N,7,2 U01", "4800,O,7,1 U01",  "4800,E,7,1 U01",
        "4800,E,7,1 R01",  "4800,E,7,1 R02",  "4800,E,7,1 R04",  "4800,E,7,1 R3C",
        "4800,E,7,1 R3D",  "4800,E,7,1 R05",  "4800,E,7,1 R06",  "4800,E,7,1 R03"};
    ASSERT_GE(frames.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(frames.begin(), frames.begin() + expected.size()),
              expected);
    EXPECT_EQ(app.program().link.lineSettings, "4800,E,7,1");
    EXPECT_TRUE(app.port().isOpen());

    // The decoded configuration on screen: the filter register 04 = "04" is the fifth option.
    const ConfigRecord& rec = app.program().config;
    EXPECT_EQ(rec.inputType, "TC");
    EXPECT_EQ(rec.choice[3][1], 5);
    EXPECT_EQ(textOf(app, kMain, "LABEL17", 1), QStringLiteral("16"));
    EXPECT_EQ(textOf(app, kMain, "Label5"), QStringLiteral("Input     ="));
    EXPECT_EQ(textOf(app, kMain, "Label15"), QStringLiteral("Output  ="));
    auto* mainWindow = app.renderer().window(kMain);
    for (const char* menu : {"FILES", "CNF", "DISP", "VW", "GRA", "logdata"}) {
        EXPECT_TRUE(mainWindow->menuAction(menu)->isEnabled()) << menu;
    }
    settle(1200);  // a few live readings
    lookAt(mainWindow, "20-main-connected");
    visitOptionPanels(app, "21-connected");
    EXPECT_TRUE(dialogs.texts.empty());
}

TEST_F(StartupE2E, CancelDuringTheSearchReturnsToThePortChooserWithoutAMessage) {
    SimProcess sim({"--type", "TC", "--silent"});
    ASSERT_TRUE(sim.start()) << sim.error();
    setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
    qt::Application app;
    app.start();
    walkToQuestion(app);
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));
    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));
    ASSERT_TRUE(waitForWidget(app, kMain, "Command5", -1, 3000));
    EXPECT_EQ(textOf(app, kMain, "Command5"), QStringLiteral("&Click here to cancel"));
    // The search blocks inside the start-up timer; the click lands while it lets events run.
    QTimer::singleShot(2500, [&] {
        if (auto* button = qobject_cast<QPushButton*>(app.widget(kMain, "Command5"))) {
            button->click();
        }
    });
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kPortChooserWindow); }, 10000));
    ASSERT_TRUE(waitFor([&] { return !windowShown(app, kMain); }, 5000));
    const auto frames = sim.frames();
    EXPECT_GE(frames.size(), 1u);
    EXPECT_LT(frames.size(), 15u);  // the search stopped early
    EXPECT_TRUE(dialogs.texts.empty());
    EXPECT_FALSE(app.renderer().ended());
}

TEST_F(StartupE2E, PortThatCannotBeOpenedShowsTheErrorPanelAndLeadsBackToTheChooser) {
    setenv("SIGCOND_COM2", "/nonexistent/sigcond-port", 1);
    qt::Application app;
    app.start();
    walkToQuestion(app);
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));
    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 1));  // "Com &2"
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kMain); }, 3000));
    ASSERT_TRUE(waitForWidget(app, kMain, "Picture1", -1, 5000));
    auto* panel = static_cast<qt::PictureBoxWidget*>(app.widget(kMain, "Picture1"));
    const QStringList lines = panel->lines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("            Communication error !"));
    EXPECT_EQ(lines[2], QStringLiteral("      You have chosen a wrong  SERIAL PORT"));
    EXPECT_TRUE(panel->accessibleDescription().contains(QStringLiteral("SERIAL PORT")));
    ASSERT_TRUE(waitFor([&] { return !app.program().form1.Timer2.enabled; }, 5000));
    EXPECT_EQ(textOf(app, kMain, "Command5"), QStringLiteral("&Click here to continue"));
    lookAt(app.renderer().window(kMain), "30-main-error-panel");

    ASSERT_TRUE(press(app, kMain, "Command5"));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kPortChooserWindow); }, 3000));
    EXPECT_FALSE(windowShown(app, kMain));
    EXPECT_FALSE(app.renderer().ended());
}

}  // namespace
}  // namespace sigcond::test
