// The live reading and live scaling of the real program, in-process on Qt's offscreen platform,
// against sigcond-unit-sim on a pseudo-terminal: readings reach the input and output labels,
// a silent unit blinks and recovers, and live scaling sends the unity scale and then keeps the
// line quiet. With SIGCOND_SCREENSHOT_DIR set, pictures of the live display and of live scaling
// are saved there.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <chrono>
#include <csignal>
#include <cstdlib>

#include "e2e_session.h"
#include "qt/application.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;

// Saves a picture of the main screen when asked for; every text on it fits its control.
void lookAtMain(qt::Application& app, const std::string& name) {
    QWidget* window = app.renderer().window(kMain);
    savePicture(window, name);
    for (const std::string& cut : cutTexts(window)) ADD_FAILURE() << name << ": cut text " << cut;
}

class LiveE2E : public ::testing::Test {
protected:
    LiveE2E() { qtApplication(); }
    ~LiveE2E() override { unsetenv("SIGCOND_COM1"); }

    // The main screen with the live values on show.
    void connect(qt::Application& app, SimProcess& sim) {
        ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(app, sim));
        ASSERT_TRUE(waitFor([&] { return app.widget(kMain, "Frame9")->isVisible(); }, 5000));
    }

    DialogWatcher dialogs;
};

TEST_F(LiveE2E, ReadingsAndOutputValueFollowTheUnitAndASilenceBlinks) {
    // Scale 1, offset 0: the output value is the reading itself.
    SimProcess sim({"--type", "TC", "--reading", "12.34", "--register", "05=100001", "--register",
                    "06=200000"});
    ASSERT_TRUE(sim.start()) << sim.error();
    qt::Application app;
    connect(app, sim);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 5000))
        << labelText(app, "Label4").toStdString();
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 2000))
        << labelText(app, "Label7").toStdString();
    lookAtMain(app, "40-live-display");

    // The unit falls silent: one beep and the panel, then "ERROR  " blinks in the alarm colours.
    sim.signal(SIGUSR1);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "ERROR  "; }, 6000));
    EXPECT_TRUE(app.widget(kMain, "Picture2")->isVisible());
    EXPECT_EQ(app.program().form1.Label4.backColour, 0xC00000);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4").isEmpty(); }, 2000));
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "ERROR  "; }, 2000));
    lookAtMain(app, "41-live-no-reply");

    // It answers again: the reading is back in the normal colours.
    sim.signal(SIGUSR1);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 6000));
    EXPECT_FALSE(app.widget(kMain, "Picture2")->isVisible());
    EXPECT_EQ(app.program().form1.Label4.backColour, app.program().live.normalBackColour);
    EXPECT_FALSE(app.program().link.quickPollMode);

    // The widest values and units any unit shows fit the large face of the live values.
    MainScreen& f = app.program().form1;
    f.Label4.caption = "-999999 ";
    f.Label7.caption = "+999999 ";
    f.Label13.caption = " Counts";
    f.Label16.caption = "  Volt";
    app.renderer().refresh();
    EXPECT_EQ(labelText(app, "Label13"), " Counts");
    for (const std::string& cut : cutTexts(app.renderer().window(kMain))) ADD_FAILURE() << cut;
}

TEST_F(LiveE2E, LiveScalingSendsTheUnityScaleThenStaysQuiet) {
    SimProcess sim({"--type", "TC", "--reading", "500", "--decimals", "1", "--register",
                    "05=100001", "--register", "06=200000"});
    ASSERT_TRUE(sim.start()) << sim.error();
    qt::Application app;
    connect(app, sim);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label7") == "24.000 "; }, 5000))
        << labelText(app, "Label7").toStdString();

    ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "ANA1"));
    ASSERT_TRUE(waitForWidget(app, kMain, "Command7", -1, 3000));
    lookAtMain(app, "43-scaling-panel");
    FrameWatch watch(sim);
    watch.poll();
    const std::size_t before = watch.frames().size();
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(press(app, kMain, "Command7"));

    // Burst, then the first reading after the quiet cycles.
    auto indexOf = [&](const std::string& command, std::size_t from) {
        return watch.indexOf(command, from);
    };
    ASSERT_TRUE(watch.waitFor([&] { return indexOf("W05300002", before) >= 0; }, 8000));
    const long burst = indexOf("W06200000", before);
    ASSERT_GE(burst, 0);
    ASSERT_TRUE(watch.waitFor([&] { return indexOf("X01", burst) >= 0; }, 8000));
    lookAtMain(app, "42-live-scaling");
    const auto& f = watch.frames();
    const long reading = indexOf("X01", burst);
    ASSERT_EQ(reading, burst + 3);
    EXPECT_TRUE(f[burst + 1].frame.ends_with(" W05300002"));
    EXPECT_TRUE(f[burst + 2].frame.ends_with(" Z01"));
    // Six quiet cycles of 450 ms after the burst's own: about 3 s without a frame.
    EXPECT_GE(f[reading].seconds - f[burst + 2].seconds, 2.6);
    ASSERT_FALSE(dialogs.texts.empty());
    EXPECT_NE(dialogs.texts.back().find("DO YOU WANT TO SET THE ANALOG OUTPUT SCALE = 1"),
              std::string::npos);

    // The output now follows the unity scale: 0.02 x 500.
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label7") == "10.000 "; }, 3000))
        << labelText(app, "Label7").toStdString();
    EXPECT_EQ(app.program().form1.Text1[0].caption, "  500.0");
    EXPECT_EQ(app.program().live.liveStep, 1);
}

}  // namespace
}  // namespace sigcond::test
