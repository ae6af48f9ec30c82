// A day with a frequency/pulse unit, through the real program (in-process, Qt offscreen)
// against sigcond-unit-sim: the gate time and debounce time typed into input boxes (a refused
// answer first), each sent on Yes, then a counting mode picked for the unit. The unit's frames
// carry the gate and debounce registers between the scaling commands and the resolution, and
// the counting mode's whole-number inputs.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>

#include "e2e_session.h"
#include "qt/application.h"
#include "scenario_steps.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;

class FpDay : public ::testing::Test {
protected:
    FpDay() { qtApplication(); }
    ~FpDay() override { unsetenv("SIGCOND_COM1"); }

    std::string trace() {
        watch->poll();
        std::string t = " banner '" + app->program().form1.Label3.caption +
                        "' frames:" + watch->commandsFrom(mark);
        for (const auto& d : dialogs.texts) t += " | " + d;
        for (const auto& d : inputs.prompts) t += " || " + d;
        return t;
    }
    // The commands of the transfer that began after the mark, up to its closing "Z01".
    std::vector<std::string> waitForSend() {
        std::vector<std::string> sent;
        if (!watch->waitFor([&] { return watch->indexOf("Z01", mark) >= 0; }, 20000)) return sent;
        const long first = watch->indexOf("W01", mark, true);
        const long last = watch->indexOf("Z01", mark);
        if (first < 0) return sent;
        for (long i = first; i <= last; ++i) sent.push_back(watch->frames()[i].command);
        waitFor([&] { return app->program().form1.Label3.caption == kSentBanner; }, 5000);
        return sent;
    }

    DialogWatcher dialogs;
    InputBoxAnswers inputs;
    std::unique_ptr<qt::Application> app;
    std::unique_ptr<FrameWatch> watch;
    std::size_t mark = 0;
};

TEST_F(FpDay, GateAndDebounceEntrySentThenACountingModeWithWholeNumberInputs) {
    // Frequency mode with current output; gate 20 counts (200 ms), debounce 2 (10 ms);
    // scaling 0 Hz -> 4 mA and 1000 Hz -> 20 mA.
    SimProcess sim({"--type",          "FP",         "--register",      "01=00",      "--register",
                    "02=01",           "--register", "04=02",           "--register", "03=02",
                    "--register",      "0D=14",      "--register",      "0E=02",      "--register",
                    "3C=509C40100000", "--register", "3D=530D401003E8", "--reading",  "512.5",
                    "--decimals",      "1"});
    ASSERT_TRUE(sim.start()) << sim.error();
    app = std::make_unique<qt::Application>();
    watch = std::make_unique<FrameWatch>(sim);
    ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(*app, sim));
    Program& p = app->program();
    MainScreen& f = p.form1;

    EXPECT_EQ(f.Label9.caption, "MODEL  :  FREQUENCY/PULSE");
    EXPECT_EQ(f.Label28[1].caption, "200 ms");
    EXPECT_EQ(f.Label29[1].caption, "10 ms");
    EXPECT_TRUE(f.GATE.visible);
    EXPECT_TRUE(f.DEBT.visible);
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label13") == "  Hz  "; }, 3000))
        << labelText(*app, "Label13").toStdString();
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label4").trimmed() == "512.5"; }, 8000))
        << labelText(*app, "Label4").toStdString();

    // Gate time: 241 is refused in the box itself, 25 is taken and sent on Yes.
    inputs.answers = {"241", "25"};
    dialogs.answers.push_back(QMessageBox::Yes);
    mark = watch->size();
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "GATE"));
    std::vector<std::string> sent = waitForSend();
    ASSERT_EQ(inputs.prompts.size(), 2u) << trace();
    // (CR LF and a lone CR both show as one line break.)
    EXPECT_EQ(inputs.prompts[0],
              "Enter the value for Gate time\none count = 10 ms\n\n if 0 then \nGate time = 3 ms");
    EXPECT_EQ(inputs.prompts[1],
              "The input should be  from 0 to 240.\nPlease enter again.\none count = 10 ms if 0 "
              "then \nGate time = 3 ms");
    ASSERT_FALSE(dialogs.texts.empty());
    EXPECT_EQ(dialogs.texts.back().rfind(kSendQuestion, 0), 0u);
    const RegisterImage& r = p.registers;
    const std::vector<std::string> expected = {"W0100",
                                               "W0201",
                                               "W0402",
                                               "W3C509C40100000",
                                               "W3D530D401003E8",
                                               "W05" + r.scaleOffset[1],
                                               "W06" + r.scaleOffset[2],
                                               "W0D19",
                                               "W0E02",
                                               "W0302",
                                               "W0814",
                                               "Z01"};
    EXPECT_EQ(sent, expected) << trace();
    EXPECT_EQ(p.config.gateTimeText, "25");
    EXPECT_EQ(f.Label28[1].caption, "250 ms");
    // 0 -> 4 mA, 1000 -> 20 mA: scale 0.016, offset 4; 512.5 Hz gives 12.2 mA once the
    // readings resume.
    EXPECT_NEAR(p.live.outputScale, 0.016, 1e-9);
    EXPECT_NEAR(p.live.outputOffset, 4, 1e-9);
    EXPECT_TRUE(waitFor([&] { return labelText(*app, "Label7") == "12.200 "; }, 8000))
        << labelText(*app, "Label7").toStdString();

    // Debounce time 4 (20 ms).
    inputs.answers = {"4"};
    inputs.prompts.clear();
    dialogs.answers.push_back(QMessageBox::Yes);
    mark = watch->size();
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "DEBT"));
    sent = waitForSend();
    ASSERT_EQ(inputs.prompts.size(), 1u) << trace();
    EXPECT_EQ(inputs.prompts[0], "Enter the value for Debounce time\none count = 5 ms\n\n");
    std::map<std::string, std::string> unit = writtenRegisters(watch->frames(), mark);
    EXPECT_EQ(unit["0D"], "19");
    EXPECT_EQ(unit["0E"], "04");
    EXPECT_EQ(f.Label29[1].caption, "20 ms");
    savePicture(app->renderer().window(kMain), "70-fp-gate-debounce-sent");

    // Counting mode "Totalize": resolution back to its first option, Input 1 and Input 2
    // become 0 and 100000 counts, coded as whole numbers without a format digit.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "IOCF"));
    ASSERT_TRUE(waitForWidget(*app, kMain, "Frame4", -1, 3000));
    EXPECT_EQ(listLines(*app, 0),
              (std::vector<std::string>{"Frequency", "Quadrature", "A - B", "Totalize"}));
    ASSERT_TRUE(pickLine(*app, 0, 3));
    dialogs.answers.push_back(QMessageBox::Yes);
    mark = watch->size();
    ASSERT_TRUE(press(*app, kMain, "Command9"));
    sent = waitForSend();
    unit = writtenRegisters(watch->frames(), mark);
    EXPECT_EQ(unit["02"], "10") << trace();
    EXPECT_EQ(unit["3C"], "509C40000000");
    EXPECT_EQ(unit["3D"], "530D400186A0");
    EXPECT_EQ(unit["03"], "01");
    EXPECT_EQ(unit["0D"], "19");
    EXPECT_EQ(unit["0E"], "04");
    EXPECT_NEAR(p.live.outputScale, 16.0 / 100000, 1e-12);
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label13") == " Counts"; }, 3000))
        << labelText(*app, "Label13").toStdString();
    // 512.5 counts on the line from 0 -> 4 mA to 100000 -> 20 mA.
    EXPECT_TRUE(waitFor([&] { return labelText(*app, "Label7") == "4.082 "; }, 8000))
        << labelText(*app, "Label7").toStdString();

    // The resolution panel of a counting mode offers only its first line.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "RESOL"));
    auto* list = qobject_cast<QListWidget*>(app->widget(kMain, "List1", 8));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(waitFor([&] { return list->isVisible(); }, 3000));
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->item(0)->text().trimmed().toStdString(), "50000. Counts");
    savePicture(app->renderer().window(kMain), "71-fp-counting-resolution");
    ASSERT_TRUE(press(*app, kMain, "Command11"));
}

}  // namespace
}  // namespace sigcond::test
