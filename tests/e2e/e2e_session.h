// What the end-to-end tests of a connected program share: reaching the main screen with a
// simulated unit on Com 1 or in demo work, reading labels, and watching the simulator's log of
// frames with the moment each frame was first seen.
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "qt/application.h"
#include "startup_driver.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace sigcond::test {

inline constexpr const char* kMainWindow = "Form1";
// The question after an option panel's OK, and the banner after a transfer.
inline constexpr const char* kSendQuestion =
    "Do you want to send configuration to the unit now  ?";
inline constexpr const char* kSentBanner = "  The CONFIGURATION is succesfully transmitted.";

inline bool windowShown(qt::Application& app, const std::string& name) {
    auto* w = app.renderer().window(name);
    return w && w->isVisible();
}

// The text a label of the main screen shows (empty if there is no such label).
inline QString labelText(qt::Application& app, const std::string& control, int index = -1) {
    auto* label = qobject_cast<QLabel*>(app.widget(kMainWindow, control, index));
    return label ? label->text() : QString();
}

// The command of a log line "9600,O,7,1 W0404".
inline std::string commandOf(const std::string& line) {
    const auto blank = line.find(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

// Splash, welcome, "Yes", "Com 1" with Com 1 on the simulator's device: the main screen once
// the read is over and the live values run. Use with ASSERT_NO_FATAL_FAILURE.
inline void connectToSimulatedUnit(qt::Application& app, SimProcess& sim, int readMs = 30000) {
    setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
    app.start();
    ASSERT_TRUE(press(app, kSplashWindow, "Command3"));
    ASSERT_TRUE(press(app, kWelcomeWindow, "Command1"));
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));   // "&Yes"
    ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));  // "Com &1"
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kMainWindow); }, 3000));
    ASSERT_TRUE(waitFor([&] { return app.program().form1.Timer1.enabled; }, readMs));
}

// Splash, welcome, "No", the type at `row` of the demo list: the main screen in demo work.
inline void openDemoWork(qt::Application& app, int row = 0) {
    app.start();
    ASSERT_TRUE(press(app, kSplashWindow, "Command3"));
    ASSERT_TRUE(press(app, kWelcomeWindow, "Command1"));
    ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 1));  // "&No"
    auto* list = qobject_cast<QListWidget*>(waitForWidget(app, kDemoWindow, "List1"));
    ASSERT_TRUE(list);
    list->setCurrentRow(row);
    ASSERT_TRUE(waitFor([&] { return windowShown(app, kMainWindow); }, 3000));
    ASSERT_TRUE(waitFor([&] { return !app.program().form1.Timer2.enabled; }, 5000));
}

// The simulator's frames, each with the moment (seconds since the watch began) the test first
// saw it in the log.
struct TimedFrame {
    std::string frame;    // "9600,O,7,1 W0404"
    std::string command;  // "W0404"
    double seconds;
};

class FrameWatch {
public:
    explicit FrameWatch(SimProcess& sim) : sim_(sim), start_(std::chrono::steady_clock::now()) {}

    void poll() {
        const std::vector<std::string> all = sim_.frames();
        const double now =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        for (std::size_t i = seen_.size(); i < all.size(); ++i) {
            seen_.push_back({all[i], commandOf(all[i]), now});
        }
    }
    const std::vector<TimedFrame>& frames() const { return seen_; }
    std::size_t size() {
        poll();
        return seen_.size();
    }

    // Runs the event loop, watching the log, until `done` holds or `ms` have passed.
    bool waitFor(const std::function<bool()>& done, int ms) {
        return test::waitFor(
            [&] {
                poll();
                return done();
            },
            ms);
    }

    // The index of the first frame at or after `from` whose command is `command` (or, with
    // `prefix`, starts with it); -1 if none.
    long indexOf(const std::string& command, std::size_t from = 0, bool prefix = false) const {
        for (std::size_t i = from; i < seen_.size(); ++i) {
            const std::string& c = seen_[i].command;
            if (prefix ? c.starts_with(command) : c == command) return static_cast<long>(i);
        }
        return -1;
    }

    // The commands from `from` on, blank-separated (for failure messages).
    std::string commandsFrom(std::size_t from = 0) const {
        std::string all;
        for (std::size_t i = from; i < seen_.size(); ++i) all += " " + seen_[i].command;
        return all;
    }

private:
    SimProcess& sim_;
    std::chrono::steady_clock::time_point start_;
    std::vector<TimedFrame> seen_;
};

}  // namespace sigcond::test
