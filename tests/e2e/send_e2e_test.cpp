// Sending a changed configuration through the real program, in-process on Qt's offscreen
// platform, against sigcond-unit-sim on a pseudo-terminal: the operator changes the filter time
// constant of a thermocouple unit and answers Yes; the simulator's log shows the whole write
// sequence and then, after the quiet cycles, the live reading again. With
// SIGCOND_SCREENSHOT_DIR set, a picture of the success banner is saved.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "qt/application.h"
#include "e2e_session.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;
// A unit whose scaling points are 0 -> 0 mA and 1000 -> 10 mA (the factory's all-zero points
// could not be sent back: the two inputs must differ).
std::vector<std::string> unitWithScaling(const char* type) {
    return {"--type", type, "--register", "3C=500000100000", "--register", "3D=5186A01003E8"};
}

class SendE2E : public ::testing::Test {
protected:
    ~SendE2E() override { unsetenv("SIGCOND_COM1"); }

    void connect(qt::Application& app, SimProcess& sim) {
        ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(app, sim));
    }

    std::string trace(const Program& p) const {
        std::string t = "action " + std::to_string(p.screen.deferredAction) + " timer2 " +
                        std::to_string(p.form1.Timer2.enabled) + " banner '" +
                        p.form1.Label3.caption + "' frames:";
        t += watch->commandsFrom();
        for (const auto& d : dialogs.texts) t += " | " + d;
        return t;
    }
    long indexOf(const std::string& command, std::size_t from) const {
        return watch->indexOf(command, from);
    }

    // The application comes first: the dialog watcher's timer needs it.
    QApplication& application_ = qtApplication();
    DialogWatcher dialogs;
    std::unique_ptr<FrameWatch> watch;
};

TEST_F(SendE2E, FilterChangeOnAThermocoupleUnitIsWrittenInTheDocumentedOrder) {
    SimProcess sim(unitWithScaling("TC"));
    ASSERT_TRUE(sim.start()) << sim.error();
    qt::Application app;
    connect(app, sim);
    Program& p = app.program();

    // Configuration -> "Filter time constant", pick "16", "&OK", answer Yes.
    ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "FILTER"));
    auto* list = qobject_cast<QListWidget*>(waitForWidget(app, kMain, "List1", 8, 3000));
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count(), 5);
    EXPECT_EQ(list->item(4)->text().trimmed(), "16");
    list->setCurrentRow(4);
    watch = std::make_unique<FrameWatch>(sim);
    const std::size_t before = watch->size();
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(press(app, kMain, "Command12"));

    ASSERT_TRUE(watch->waitFor([&] { return indexOf("Z01", before) >= 0; }, 20000)) << trace(p);
    ASSERT_FALSE(dialogs.texts.empty());
    EXPECT_NE(dialogs.texts.back().find("Do you want to send configuration to the unit now"),
              std::string::npos);
    const long first = indexOf("W01" + p.registers.registerText[1], before);
    ASSERT_GE(first, 0);
    const RegisterImage& r = p.registers;
    const std::vector<std::string> expected = {
        "W01" + r.registerText[1], "W02" + r.registerText[2], "W0404",
        "W3C" + r.scalePairLow,    "W3D" + r.scalePairHigh,   "W05" + r.scaleOffset[1],
        "W06" + r.scaleOffset[2],  "W03" + r.registerText[7], "W0814",
        "Z01"};
    std::vector<std::string> sent;
    for (std::size_t i = static_cast<std::size_t>(first); i < watch->frames().size() && sent.size() < 10;
         ++i) {
        sent.push_back(watch->frames()[i].command);
    }
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(p.config.choice[3][1], 5);

    ASSERT_TRUE(waitFor([&] { return p.form1.Label3.caption == kSentBanner; }, 3000));
    savePicture(app.renderer().window(kMain), "50-configuration-sent");

    // The live reading resumes once the unit has had its quiet cycles.
    const long closing = indexOf("Z01", before);
    ASSERT_TRUE(watch->waitFor([&] { return indexOf("X01", closing) >= 0; }, 10000));
    const long reading = indexOf("X01", closing);
    EXPECT_EQ(reading, closing + 1);
    const auto& seen = watch->frames();
    EXPECT_GE(seen[reading].seconds - seen[closing].seconds, 2.6);
}

}  // namespace
}  // namespace sigcond::test
