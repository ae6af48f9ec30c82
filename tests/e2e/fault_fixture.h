// What the end-to-end fault tests share: a simulated unit with faults switched on, the real
// program in-process on Qt's offscreen platform, the simulator's frames as they arrive, and the
// reports the program shows (the error panel, the banner, message boxes).
#pragma once

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>
#include <QStringList>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "e2e_session.h"
#include "qt/application.h"
#include "qt/control_widgets.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace sigcond::test {

inline constexpr const char* kFaultMain = kMainWindow;
inline constexpr const char* kContinueCaption = "&Click here to continue";

// The communication error report without the serial-port lines (the unit was identified).
inline QStringList communicationErrorLines() {
    return {QStringLiteral("            Communication error !"),
            QString(),
            QStringLiteral("        Check all connections.  "),
            QStringLiteral("        Make sure the unit has power. "),
            QStringLiteral("        If problem continues restart the signal "),
            QStringLiteral("        conditioner program. ")};
}

class FaultE2E : public ::testing::Test {
protected:
    ~FaultE2E() override { unsetenv("SIGCOND_COM1"); }

    // Starts a simulated unit with `arguments` and puts it on Com 1.
    SimProcess& startUnit(std::vector<std::string> arguments) {
        sims.push_back(std::make_unique<SimProcess>(std::move(arguments)));
        SimProcess& sim = *sims.back();
        EXPECT_TRUE(sim.start()) << sim.error();
        setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
        watch = std::make_unique<FrameWatch>(sim);
        return sim;
    }

    // Splash, welcome, "Yes", "Com 1": the main screen, once its start-up read is over,
    // whether it succeeded or not. Use with ASSERT_NO_FATAL_FAILURE.
    void openMainScreen(int readMs = 30000) {
        app.start();
        ASSERT_TRUE(press(app, kSplashWindow, "Command3"));
        ASSERT_TRUE(press(app, kWelcomeWindow, "Command1"));
        ASSERT_TRUE(press(app, kQuestionWindow, "Command3", 0));     // "&Yes"
        ASSERT_TRUE(press(app, kPortChooserWindow, "Command3", 0));  // "Com &1"
        ASSERT_TRUE(waitFor([&] { return windowShown(app, kFaultMain); }, 3000));
        waitForReadEnd(readMs);
    }

    // The start-up read has ended: the live reading runs, or the start-up timer has stopped
    // after a failure.
    void waitForReadEnd(int ms = 30000) {
        Program& p = app.program();
        ASSERT_TRUE(watch->waitFor(
            [&] {
                return p.form1.Timer1.enabled ||
                       (p.form1.Command5.caption == kContinueCaption && !p.form1.Timer2.enabled);
            },
            ms))
            << trace();
    }

    // Lines of the error panel as drawn; empty when the panel is hidden.
    QStringList errorPanel() {
        auto* panel = dynamic_cast<qt::PictureBoxWidget*>(app.widget(kFaultMain, "Picture1"));
        if (!panel || !panel->isVisible()) return {};
        return panel->lines();
    }

    bool menuEnabled(const std::string& name) {
        QAction* action = app.renderer().window(kFaultMain)->menuAction(name);
        return action && action->isEnabled();
    }

    // Configuration -> "Filter time constant", the option at `row`, "&OK", answering `send`
    // to the question whether to send now.
    void chooseFilter(int row, QMessageBox::StandardButton send) {
        ASSERT_TRUE(chooseMenu(app, kFaultMain, "CNF", "FILTER"));
        auto* list = qobject_cast<QListWidget*>(waitForWidget(app, kFaultMain, "List1", 8, 3000));
        ASSERT_NE(list, nullptr);
        ASSERT_GT(list->count(), row);
        list->setCurrentRow(row);
        dialogs.answers.push_back(send);
        ASSERT_TRUE(press(app, kFaultMain, "Command12"));
    }

    long indexOf(const std::string& command, std::size_t from = 0, bool prefix = false) {
        watch->poll();
        return watch->indexOf(command, from, prefix);
    }

    // The number of frames with `command` from `from` on.
    int countOf(const std::string& command, std::size_t from = 0) {
        watch->poll();
        int n = 0;
        for (std::size_t i = from; i < watch->frames().size(); ++i) {
            n += watch->frames()[i].command == command ? 1 : 0;
        }
        return n;
    }

    // For failure messages: the start-up state, the banner, the frames and the message boxes.
    std::string trace() {
        const Program& p = app.program();
        std::string t = "action " + std::to_string(p.screen.deferredAction) + " timer2 " +
                        std::to_string(p.form1.Timer2.enabled) + " timer1 " +
                        std::to_string(p.form1.Timer1.enabled) + " banner '" +
                        p.form1.Label3.caption + "' frames:";
        if (watch) t += watch->commandsFrom();
        for (const auto& d : dialogs.texts) t += " | " + d;
        return t;
    }

    // The application comes first: the dialog watcher's timer needs it.
    QApplication& application_ = qtApplication();
    DialogWatcher dialogs;
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::unique_ptr<FrameWatch> watch;
    qt::Application app;
};

}  // namespace sigcond::test
