// The live reading against a unit that falls silent and against a serial device that goes away
// and comes back: the program keeps polling without blocking the screen, keeps what the
// operator entered, and takes up the readings again by itself.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <csignal>

#include "fault_fixture.h"

namespace sigcond::test {
namespace {

// A unit whose scaling points can be sent back (the two inputs differ): 0 -> 0 mA and
// 1000 -> 10 mA; scale 1, offset 0 on the output.
std::vector<std::string> unitReading(const char* reading) {
    return {"--type",          "TC",         "--reading",      reading, "--register",
            "3C=500000100000", "--register", "3D=5186A01003E8"};
}

// The longest time the event loop went without handling a timer event while it runs.
class StallMeter : public QObject {
public:
    StallMeter() {
        clock_.start();
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this,
                [this] { longest_ = std::max(longest_, clock_.restart()); });
        timer_.start();
    }
    void reset() {
        longest_ = 0;
        clock_.restart();
    }
    qint64 longestMs() const { return longest_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

class FaultLive : public FaultE2E {
protected:
    void waitForReading(const char* shown) {
        ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == shown; }, 6000))
            << labelText(app, "Label4").toStdString() << " " << trace();
    }
};

TEST_F(FaultLive, SilentUnitIsPolledEveryCycleWhileTheOperatorWorksOn) {
    SimProcess& sim = startUnit(unitReading("12.34"));
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));

    sim.signal(SIGUSR1);
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "ERROR  "; }, 6000));
    const std::size_t silentFrom = watch->size();
    StallMeter stalls;

    // The operator changes the filter meanwhile and keeps it for later ("No" to sending).
    ASSERT_NO_FATAL_FAILURE(chooseFilter(4, QMessageBox::No));
    EXPECT_EQ(p.config.choice[3][1], 5);
    settle(3000);

    // The reading is asked for on every cycle, each without the reply wait, so the screen
    // never stalls; a missing reading is no communication error report.
    EXPECT_GE(countOf("X01", silentFrom), 5) << watch->commandsFrom(silentFrom);
    EXPECT_LT(stalls.longestMs(), 700);
    EXPECT_TRUE(p.link.quickPollMode);
    EXPECT_TRUE(errorPanel().isEmpty());
    EXPECT_TRUE(app.widget(kFaultMain, "Picture2")->isVisible());
    ASSERT_EQ(dialogs.texts.size(), 1u);  // only the question whether to send

    sim.signal(SIGUSR1);
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));
    EXPECT_FALSE(p.link.quickPollMode);
    EXPECT_FALSE(app.widget(kFaultMain, "Picture2")->isVisible());
    EXPECT_EQ(p.config.choice[3][1], 5);
    EXPECT_EQ(countOf("Z01", silentFrom), 0);  // nothing was sent
}

TEST_F(FaultLive, DeviceThatGoesAwayIsReopenedAndTheReadingsResume) {
    SimProcess& sim = startUnit(unitReading("12.34"));
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 3000));

    // The device disappears: the readings go missing and blink, the program goes on.
    sim.stop();
    ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "ERROR  "; }, 6000)) << trace();
    EXPECT_TRUE(app.widget(kFaultMain, "Picture2")->isVisible());
    EXPECT_TRUE(errorPanel().isEmpty());

    // A send asked for while it is gone fails at its first command, says so, and keeps the
    // operator's new filter; the live reading goes on afterwards.
    ASSERT_NO_FATAL_FAILURE(chooseFilter(4, QMessageBox::Yes));
    ASSERT_TRUE(waitFor([&] { return errorPanel() == communicationErrorLines(); }, 8000))
        << trace();
    EXPECT_NE(p.form1.Label3.caption, kSentBanner);
    EXPECT_EQ(p.config.choice[3][1], 5);
    ASSERT_TRUE(waitFor([&] { return !p.form1.Timer2.enabled && p.form1.Timer1.enabled; }, 3000));

    // Back on the same path: the adapter opens it again by itself, at the settings found by
    // the search, and the readings come back without a new start.
    ASSERT_TRUE(sim.restart()) << sim.error();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));
    EXPECT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 3000));
    EXPECT_EQ(sim.frames().back(), "9600,O,7,1 X01");
    EXPECT_FALSE(app.widget(kFaultMain, "Picture2")->isVisible());

    // The filter the operator chose goes out now.
    ASSERT_TRUE(chooseMenu(app, kFaultMain, "VW"));
    const std::size_t before = watch->size();
    ASSERT_TRUE(press(app, kFaultMain, "Command14"));  // "&Send"
    ASSERT_TRUE(watch->waitFor([&] { return indexOf("Z01", before) >= 0; }, 20000)) << trace();
    EXPECT_GE(indexOf("W0404", before), 0) << watch->commandsFrom(before);
    EXPECT_TRUE(waitFor([&] { return p.form1.Label3.caption == kSentBanner; }, 3000));
    EXPECT_FALSE(app.renderer().ended());
}

TEST_F(FaultLive, SilenceDuringTheUnityScaleBurstAbandonsLiveScalingAndKeepsTheScaling) {
    std::vector<std::string> arguments = unitReading("12.34");
    arguments.insert(arguments.end(), {"--silent-for", "W06200000"});
    startUnit(arguments);
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));

    ASSERT_TRUE(chooseMenu(app, kFaultMain, "CNF", "ANA1"));
    ASSERT_TRUE(waitForWidget(app, kFaultMain, "Command7", -1, 3000));
    std::array<std::string, 5> scaling = p.config.scalingText;
    std::array<std::string, 4> boxes;
    for (int i = 0; i < 4; ++i) boxes[i] = p.form1.Text1[i].caption;
    const std::size_t before = watch->size();
    dialogs.answers.push_back(QMessageBox::Yes);  // the unity scale
    ASSERT_TRUE(press(app, kFaultMain, "Command7"));

    // The burst's first command gets no answer: the reading-error panel, the entry abandoned
    // with the scaling boxes as they were, and the live reading stopped.
    ASSERT_TRUE(watch->waitFor(
        [&] { return indexOf("W06200000", before) >= 0 && p.form1.Picture2.visible; }, 12000))
        << trace();
    const long burst = indexOf("W06200000", before);
    EXPECT_EQ(static_cast<std::size_t>(burst) + 1, watch->size()) << watch->commandsFrom(before);
    EXPECT_EQ(p.live.liveStep, 0);
    EXPECT_FALSE(p.form1.Timer1.enabled);
    EXPECT_FALSE(p.form1.Label11.visible);
    EXPECT_TRUE(p.form1.Command7.enabled);
    EXPECT_EQ(p.config.scalingText, scaling);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.form1.Text1[i].caption, boxes[i]) << i;
    EXPECT_TRUE(errorPanel().isEmpty());
    ASSERT_EQ(dialogs.texts.size(), 1u);

    // Display off and on again starts the readings anew, without the unity scale of the
    // abandoned live scaling.
    EXPECT_EQ(p.live.unityScalePending, 0);
    ASSERT_TRUE(chooseMenu(app, kFaultMain, "DISP", "DISPOF"));
    ASSERT_TRUE(chooseMenu(app, kFaultMain, "DISP", "DISPOF"));
    EXPECT_TRUE(p.form1.Timer1.enabled);
    const std::size_t resumed = watch->size();
    // The quiet cycles owed to the partial send come first.
    ASSERT_TRUE(watch->waitFor([&] { return indexOf("X01", resumed) >= 0; }, 6000)) << trace();
    ASSERT_NO_FATAL_FAILURE(waitForReading("  12.34"));
    EXPECT_FALSE(app.widget(kFaultMain, "Picture2")->isVisible());
    EXPECT_EQ(countOf("W06200000", before), 1);
    EXPECT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 2000));
}

}  // namespace
}  // namespace sigcond::test
