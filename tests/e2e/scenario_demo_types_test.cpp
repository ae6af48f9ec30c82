// Demo work for every input type, then the real unit: a configuration is prepared without a
// unit (every option group changed through its panel, gate and debounce times typed for the
// frequency type) and saved; then the program is started against a simulated unit of that
// type, loads the file and sends it. The unit ends up with the registers the file holds (as
// its frames show and as a fresh start of the program reads them back), and the loaded record
// has every choice made in demo work.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <array>

#include "e2e_session.h"
#include "qt/application.h"
#include "scenario_steps.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;
// The demo list's order.
constexpr std::array<const char*, 7> kTypes = {"TC", "RTD", "PR", "ST", "ACV", "ACC", "FP"};

using Choices = std::array<std::array<int, 11>, 8>;

struct Prepared {
    Choices choice{};
    std::string gate;
    std::string debounce;
    std::vector<std::string> fileLines;
};

class DemoThenUnit : public ::testing::Test {
protected:
    DemoThenUnit() { qtApplication(); }
    ~DemoThenUnit() override { unsetenv("SIGCOND_COM1"); }

    // Picks option `row` for item i of group g in the open panel.
    static bool pick(qt::Application& app, int g, int i, int row) {
        return pickLine(app, app.program().config.catalogue.listSlot[g][i] - 1, row);
    }

    // Demo work for the type at `row`: every group changed, saved as DEMO<type>.CFG.
    void prepare(int row, Prepared& out) {
        qt::Application app;
        ASSERT_NO_FATAL_FAILURE(openDemoWork(app, row));
        Program& p = app.program();
        p.files.lastDirectory = folder.path.string();
        const std::string type = kTypes[row];
        ASSERT_EQ(p.config.inputType, type);
        const OptionCatalogue& cat = p.config.catalogue;

        // Group 1: the last option of every item (the RTD's 1000 Ohm keeps its type and
        // standard lists open).
        ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "INPF"));
        for (int i = 1; i <= cat.itemCount[1]; ++i) {
            ASSERT_TRUE(pick(app, 1, i, cat.choiceCount[1][i] - 1)) << type << " item " << i;
        }
        ASSERT_TRUE(press(app, kMain, "Command9"));
        // Group 2: the second option of every item (Volt output; Quadrature for FP).
        ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "IOCF"));
        for (int i = 1; i <= cat.itemCount[2]; ++i) {
            ASSERT_TRUE(pick(app, 2, i, 1)) << type << " item " << i;
        }
        ASSERT_TRUE(press(app, kMain, "Command9"));
        // Filter 128.
        ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "FILTER"));
        ASSERT_TRUE(pickLine(app, 8, 7));
        ASSERT_TRUE(press(app, kMain, "Command12"));
        // The second resolution, where the type has one and offers it.
        const bool resolution = type != "ACV" && type != "ACC";
        EXPECT_EQ(p.form1.RESOL.visible, resolution);
        if (resolution) {
            ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "RESOL"));
            if (type != "FP") {
                ASSERT_TRUE(pickLine(app, 8, 1));
            }
            ASSERT_TRUE(press(app, kMain, "Command12"));
        }
        if (type == "FP") {
            // The send question follows a changed value in demo work too; No keeps it here.
            const std::size_t asked = dialogs.texts.size();
            inputs.answers = {"30"};
            ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "GATE"));
            inputs.answers = {"7"};
            ASSERT_TRUE(chooseMenu(app, kMain, "CNF", "DEBT"));
            EXPECT_EQ(dialogs.texts.size(), asked + 2);
            EXPECT_EQ(p.form1.Label28[1].caption, "300 ms");
            EXPECT_EQ(p.form1.Label29[1].caption, "35 ms");
        }

        WindowScript script(app);
        script.chooseFile("DEMO" + type);
        ASSERT_TRUE(chooseMenu(app, kMain, "FILES", "SAVECF"));
        const auto file = folder.path / ("DEMO" + type + ".CFG");
        ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(file); }, 5000)) << type;
        ASSERT_TRUE(waitFor(
            [&] { return p.form1.Label3.caption == "The CONFIGURATION is succesfully saved. "; },
            3000));
        if (row == 0) savePicture(app.renderer().window(kMain), "80-demo-saved");
        for (int g = 1; g <= 7; ++g) {
            for (int i = 1; i <= 10; ++i) out.choice[g][i] = p.config.choice[g][i];
        }
        out.gate = p.config.gateTimeText;
        out.debounce = p.config.debounceTimeText;
        out.fileLines = crlfLines(fileText(file));
        // Every pick reached the record.
        for (int i = 1; i <= cat.itemCount[1]; ++i) {
            EXPECT_EQ(out.choice[1][i], cat.choiceCount[1][i]) << type << " item " << i;
        }
        for (int i = 1; i <= cat.itemCount[2]; ++i) EXPECT_EQ(out.choice[2][i], 2) << type;
        EXPECT_EQ(out.choice[3][1], 8) << type;
        if (resolution) {
            EXPECT_EQ(out.choice[7][1], type == "FP" ? 1 : 2) << type;
        }
        const std::size_t lines = type == "FP" ? 7 : resolution ? 5 : 4;
        EXPECT_EQ(out.fileLines.size(), lines) << type;
    }

    // The unit of the same type: load the file, send it.
    void loadAndSend(int row, const Prepared& prepared) {
        const std::string type = kTypes[row];
        SimProcess sim({"--type", type});
        ASSERT_TRUE(sim.start()) << sim.error();
        std::map<std::string, std::string> unit;
        {
            qt::Application app;
            ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(app, sim));
            Program& p = app.program();
            ASSERT_EQ(p.config.inputType, type);
            p.files.lastDirectory = folder.path.string();

            WindowScript script(app);
            script.chooseFile("DEMO" + type + ".CFG");
            ASSERT_TRUE(chooseMenu(app, kMain, "FILES", "LDCNF"));
            ASSERT_TRUE(waitFor(
                [&] {
                    return p.form1.Label3.caption == "The CONFIGURATION is succesfully loaded. ";
                },
                5000))
                << type;
            const OptionCatalogue& cat = p.config.catalogue;
            for (int g : {1, 2, 3, 7}) {
                for (int i = 1; i <= cat.itemCount[g]; ++i) {
                    EXPECT_EQ(p.config.choice[g][i], prepared.choice[g][i])
                        << type << " group " << g << " item " << i;
                }
            }
            if (type == "FP") {
                EXPECT_EQ(p.config.gateTimeText, "30");
                EXPECT_EQ(p.config.debounceTimeText, "7");
            }

            FrameWatch watch(sim);
            const std::size_t mark = watch.size();
            ASSERT_TRUE(chooseMenu(app, kMain, "VW"));
            ASSERT_TRUE(waitForWidget(app, kMain, "Command14", -1, 3000));
            savePicture(app.renderer().window(kMain), "82-send-summary-" + type);
            ASSERT_TRUE(press(app, kMain, "Command14"));
            ASSERT_TRUE(watch.waitFor([&] { return watch.indexOf("Z01", mark) >= 0; }, 20000))
                << type << watch.commandsFrom(mark);
            ASSERT_TRUE(waitFor([&] { return p.form1.Label3.caption == kSentBanner; }, 5000))
                << type;
            if (row == 6) savePicture(app.renderer().window(kMain), "81-demo-file-sent");

            // The unit's registers are the file's lines.
            unit = writtenRegisters(watch.frames(), mark);
            std::vector<std::string> fromUnit = {unit["01"], unit["02"], unit["04"],
                                                 unit["3D"] + unit["3C"]};
            if (type == "FP") {
                fromUnit.push_back(unit["0D"]);
                fromUnit.push_back(unit["0E"]);
            }
            if (type != "ACV" && type != "ACC") {
                fromUnit.push_back(unit["03"]);
            } else {
                EXPECT_EQ(unit.count("03"), 0u) << type;
            }
            EXPECT_EQ(fromUnit, prepared.fileLines) << type << watch.commandsFrom(mark);
            EXPECT_EQ(unit["08"], "14");
            for (const std::string& text : dialogs.texts)
                EXPECT_EQ(text.find("ERROR"), std::string::npos);
        }

        // A fresh start of the program reads back what the file holds, and the scale and
        // offset the send worked out.
        qt::Application again;
        ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(again, sim));
        const RegisterImage& r = again.program().registers;
        std::vector<std::string> readBack;
        for (int slot = 1; slot <= r.encodedGroupCount; ++slot)
            readBack.push_back(r.registerText[slot]);
        if (type != "ACV" && type != "ACC") readBack.push_back(r.registerText[7]);
        EXPECT_EQ(readBack, prepared.fileLines) << type;
        EXPECT_EQ(r.scaleRegisterText[1], unit["05"]) << type;
        EXPECT_EQ(r.scaleRegisterText[2], unit["06"]) << type;
    }

    DialogWatcher dialogs;
    InputBoxAnswers inputs;
    ScratchFolder folder{"demo-types"};
};

TEST_F(DemoThenUnit, EveryTypePreparedInDemoWorkReachesItsUnitThroughAFile) {
    for (int row = 0; row < static_cast<int>(kTypes.size()); ++row) {
        SCOPED_TRACE(kTypes[row]);
        Prepared prepared;
        ASSERT_NO_FATAL_FAILURE(prepare(row, prepared));
        ASSERT_NO_FATAL_FAILURE(loadAndSend(row, prepared));
    }
}

}  // namespace
}  // namespace sigcond::test
