// The records windows in the real program (Qt offscreen, demo work): saving and opening a
// configuration through the file chooser Form8, the sampling window and the trend graph Form9.
// With SIGCOND_SCREENSHOT_DIR set, pictures of the three windows are saved there.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "qt/application.h"
#include "qt/records_chart.h"
#include "qt/records_wiring.h"
#include "records/data_log.h"
#include "records/graph_window.h"
#include "e2e_session.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "ui/start_flow.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// While the chooser is shown modally: a picture, the name typed, OK pressed.
void answerChooserLater(qt::Application& app, const std::string& name, const std::string& picture) {
    QTimer::singleShot(0, [&app, name, picture] {
        ASSERT_TRUE(waitForWidget(app, "Form8", "Text1"));
        if (!picture.empty()) savePicture(app.renderer().window("Form8"), picture);
        auto* box = qobject_cast<QLineEdit*>(app.widget("Form8", "Text1"));
        ASSERT_TRUE(box);
        // As typed by the operator (the renderer forwards edits, not programmatic changes).
        box->setText(QString::fromStdString(name));
        emit box->textEdited(box->text());
        ASSERT_TRUE(press(app, "Form8", "Command2"));
    });
}

struct WithQtApplication {
    WithQtApplication() { qtApplication(); }
};

class RecordsWindowsE2E : public ::testing::Test, private WithQtApplication {
protected:
    RecordsWindowsE2E() {
        folder = std::filesystem::temp_directory_path() /
                 ("records-e2e-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    ~RecordsWindowsE2E() override { std::filesystem::remove_all(folder); }
    DialogWatcher dialogs;
    std::filesystem::path folder;
};

TEST_F(RecordsWindowsE2E, SaveAndOpenThroughTheChooserSamplingWindowAndGraph) {
    qt::Application app;
    // The program installs the chart supplier itself; if it does not (yet), the test does, so
    // the graph's own drawing is still covered.
    qt::QtPrinter printer;
    if (app.renderer().customControl(ControlKind::Chart) == nullptr) {
        qt::installRecords(app.program(), app.renderer(), printer);
    }
    ASSERT_NO_FATAL_FAILURE(openDemoWork(app));
    Program& p = app.program();
    p.files.lastDirectory = folder.string();
    std::ofstream(folder / "EARLIER.CFG") << "00\r\n";

    answerChooserLater(app, "PLANT", "20-file-chooser");
    ASSERT_TRUE(chooseMenu(app, kMain, "FILES", "SAVECF"));
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(folder / "PLANT.CFG"); }, 5000));
    const std::string saved = contents(folder / "PLANT.CFG");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 5);
    EXPECT_FALSE(windowShown(app, "Form8"));
    EXPECT_EQ(p.form1.Label3.caption, "The CONFIGURATION is succesfully saved. ");

    p.config.choice[3][1] = 4;
    answerChooserLater(app, "PLANT.CFG", "");
    ASSERT_TRUE(chooseMenu(app, kMain, "FILES", "LDCNF"));
    ASSERT_TRUE(waitFor([&] { return p.form1.Label3.caption ==
                                     "The CONFIGURATION is succesfully loaded. "; }, 5000));
    EXPECT_EQ(p.config.choice[3][1], 1);
    EXPECT_TRUE(dialogs.texts.empty());

    // The sampling window, as the data log shows it.
    QTimer::singleShot(0, [&app] {
        ASSERT_TRUE(waitForWidget(app, "samplingfrm", "Text1", 2));
        savePicture(app.renderer().window("samplingfrm"), "21-sampling-rate");
        ASSERT_TRUE(press(app, "samplingfrm", "Command1", 0));
    });
    loadSamplingWindow(p);
    p.dialogs.runModal("samplingfrm");
    EXPECT_EQ(p.log.loggingOn, 1);
    EXPECT_EQ(p.log.sampleTicks, 2);
    p.log.loggingOn = 0;

    // The graph of a few readings.
    const char* readings[] = {"  21.50", "  21.75", "  22.10", "  22.40", "  22.20", "  22.90",
                              "  23.30", "  23.10", "  23.80", "  24.20"};
    for (const char* r : readings) appendTrendPoint(p, r);
    p.form1.Label13.caption = "  \xB0" "C ";
    ASSERT_TRUE(chooseMenu(app, kMain, "GRA"));
    ASSERT_TRUE(waitFor([&] { return windowShown(app, "Form9"); }, 3000));
    auto* graph = app.widget("Form9", "Graph1");
    ASSERT_TRUE(graph);
    auto* chart = qobject_cast<qt::TrendChart*>(graph);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->points().size(), 10);
    EXPECT_EQ(chart->points().last(), QPointF(10, 24.2));
    // 21.5 to 24.2 with a tenth added either side, widened to round numbers.
    EXPECT_EQ(chart->valueAxis().low, 21.0);
    EXPECT_EQ(chart->valueAxis().high, 25.0);
    EXPECT_EQ(chart->valueAxis().ticks, 5);
    EXPECT_EQ(chart->valueTitle(), QString::fromUtf8("\u00B0C"));
    EXPECT_TRUE(chart->accessibleDescription().startsWith(QStringLiteral("10 points")));
    EXPECT_EQ(app.renderer().window("Form9")->windowTitle(),
              QStringLiteral("Last  18 reading(s) of input"));
    savePicture(app.renderer().window("Form9"), "22-trend-graph");
    ASSERT_TRUE(press(app, "Form9", "Command1"));
    ASSERT_TRUE(waitFor([&] { return !windowShown(app, "Form9"); }, 3000));
}

}  // namespace
}  // namespace sigcond::test
