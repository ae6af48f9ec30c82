// A day at the bench with a thermocouple unit, through the real program (in-process, Qt
// offscreen) against sigcond-unit-sim on a pseudo-terminal: connect, read, change every option
// group through its panel, send, live-scale, log data, save, load, print and graph. Each step
// is checked on both sides: the frames the unit received and what the screens show. With
// SIGCOND_SCREENSHOT_DIR set, pictures of the main steps are saved there.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <algorithm>
#include <regex>

#include "common/convert.h"
#include "e2e_session.h"
#include "qt/application.h"
#include "qt/records_chart.h"
#include "scenario_steps.h"
#include "startup_driver.h"
#include "startup_qt_app.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace sigcond::test {
namespace {

constexpr const char* kMain = kMainWindow;

class TcBenchDay : public ::testing::Test {
protected:
    TcBenchDay() { qtApplication(); }
    ~TcBenchDay() override { unsetenv("SIGCOND_COM1"); }

    std::string trace() {
        std::string t = " banner '" + app->program().form1.Label3.caption + "' frames:";
        watch->poll();
        t += watch->commandsFrom(mark);
        for (const auto& d : dialogs.texts) t += " | " + d;
        return t;
    }
    // Remembers where the frames of the next step begin.
    void markFrames() { mark = watch->size(); }
    // Waits for the closing "Z01" of a transfer after the mark and then for the banner.
    bool waitForSend() {
        if (!watch->waitFor([&] { return watch->indexOf("Z01", mark) >= 0; }, 20000)) return false;
        return waitFor([&] { return app->program().form1.Label3.caption == kSentBanner; }, 5000);
    }
    // Answers the next "send now?" question and presses an option panel's OK.
    void okPanel(const char* button, QMessageBox::StandardButton answer) {
        const std::size_t asked = dialogs.texts.size();
        dialogs.answers.push_back(answer);
        ASSERT_TRUE(press(*app, kMain, button));
        ASSERT_TRUE(waitFor([&] { return dialogs.texts.size() > asked; }, 3000)) << trace();
        EXPECT_EQ(dialogs.texts.back().rfind(kSendQuestion, 0), 0u) << dialogs.texts.back();
    }
    QWidget* mainWindow() { return app->renderer().window(kMain); }

    DialogWatcher dialogs;
    std::unique_ptr<qt::Application> app;
    std::unique_ptr<FrameWatch> watch;
    std::size_t mark = 0;
};

TEST_F(TcBenchDay, ConnectChangeEveryGroupSendLiveScaleLogSaveLoadPrintAndGraph) {
    // The unit as it comes: 'T' type at 60 Hz, Celsius, compensation, current output, filter 8,
    // resolution 0.1, scaling 0 -> 0 mA and 1000 -> 10 mA. Its reading swings slowly, so live
    // scaling gets two different inputs.
    SimProcess sim({"--type", "TC", "--register", "01=02", "--register", "02=00", "--register",
                    "04=03", "--register", "03=02", "--register", "3C=500000100000", "--register",
                    "3D=5186A01003E8", "--wave", "300,200,7", "--decimals", "2"});
    ASSERT_TRUE(sim.start()) << sim.error();
    ScratchFolder folder("tc-day");
    app = std::make_unique<qt::Application>();
    watch = std::make_unique<FrameWatch>(sim);
    ASSERT_NO_FATAL_FAILURE(connectToSimulatedUnit(*app, sim));
    Program& p = app->program();
    MainScreen& f = p.form1;
    p.files.lastDirectory = folder.path.string();

    // The read: every register the unit holds, and the screen shows what they say.
    watch->poll();
    for (const char* read : {"R01", "R02", "R04", "R3C", "R3D", "R05", "R06", "R03"}) {
        EXPECT_GE(watch->indexOf(read), 0) << read << trace();
    }
    EXPECT_EQ(f.Label9.caption, "MODEL  :  THERMOCOUPLE");
    EXPECT_EQ(f.LABEL17[1].caption, "8");
    EXPECT_EQ(f.LABEL18[1].caption, "0.1");
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label13") == "  \u00B0C "; }, 3000))
        << labelText(*app, "Label13").toStdString();
    ASSERT_TRUE(waitFor([&] { return !labelText(*app, "Label4").trimmed().isEmpty(); }, 5000));
    EXPECT_EQ(labelText(*app, "Label16"), "  mA");

    // Group 1: the panel shows the unit's 'T' type and 60 Hz; pick 'K' and 50 Hz.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "INPF"));
    ASSERT_TRUE(waitForWidget(*app, kMain, "Frame4", -1, 3000));
    EXPECT_EQ(f.List1[0].selected, 2);
    EXPECT_EQ(f.List1[1].selected, 0);
    EXPECT_EQ(listLines(*app, 0).size(), 10u);
    ASSERT_TRUE(pickLine(*app, 0, 1));
    ASSERT_TRUE(pickLine(*app, 1, 1));
    savePicture(mainWindow(), "60-tc-input-panel");
    okPanel("Command9", QMessageBox::No);

    // Group 2: Fahrenheit, no compensation, voltage output.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "IOCF"));
    ASSERT_TRUE(waitForWidget(*app, kMain, "Frame4", -1, 3000));
    EXPECT_EQ(listLines(*app, 0),
              (std::vector<std::string>{"Celsius (C)", "Fahrenheit (F)", "Kelvin (K)"}));
    ASSERT_TRUE(pickLine(*app, 0, 1));
    ASSERT_TRUE(pickLine(*app, 3, 1));
    ASSERT_TRUE(pickLine(*app, 1, 1));
    okPanel("Command9", QMessageBox::No);

    // Filter 32 and resolution 0.01 through the single-list panel; Yes sends after the last.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "FILTER"));
    EXPECT_EQ(listLines(*app, 8).size(), 8u);
    ASSERT_TRUE(pickLine(*app, 8, 5));
    okPanel("Command12", QMessageBox::No);
    EXPECT_EQ(f.LABEL17[1].caption, "32");
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "RESOL"));
    EXPECT_EQ(listLines(*app, 8), (std::vector<std::string>{"1", "0.1", "0.01"}));
    ASSERT_TRUE(pickLine(*app, 8, 2));
    markFrames();
    okPanel("Command12", QMessageBox::Yes);
    ASSERT_TRUE(waitForSend()) << trace();
    savePicture(mainWindow(), "61-tc-sent");

    // What the unit received, against the register layouts worked out by hand: 'K' at 50 Hz is
    // 1000 0001; Volt, no compensation, Fahrenheit is 1000 0101; filter 32 is code 5;
    // resolution 0.01 is option 3. The scaling points go back as they came.
    std::vector<std::string> sent = commandList(watch->frames(), mark);
    const std::vector<std::string> expected = {"W0181",
                                               "W0285",
                                               "W0405",
                                               "W3C500000100000",
                                               "W3D5186A01003E8",
                                               "W05" + p.registers.scaleOffset[1],
                                               "W06" + p.registers.scaleOffset[2],
                                               "W0303",
                                               "W0814",
                                               "Z01"};
    ASSERT_GE(sent.size(), expected.size()) << trace();
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 10), expected) << trace();
    // 0 -> 0 and 1000 -> 10: scale 0.01 and offset 0.
    EXPECT_EQ(p.registers.scaleOffset[1], "300001");
    EXPECT_EQ(p.registers.scaleOffset[2], "200000");
    // The screen follows the new units.
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label13") == "  \u00B0F "; }, 3000))
        << labelText(*app, "Label13").toStdString();
    EXPECT_EQ(labelText(*app, "Label16"), "  Volt");
    EXPECT_EQ(f.LABEL18[1].caption, "0.01");

    // Live scaling: the option registers go first, then Yes sets the unity scale (10 V for
    // 1000 degrees: "300001"); Input 1 and Input 2 are taken from the unit's readings.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "ANA1"));
    ASSERT_TRUE(waitForWidget(*app, kMain, "Command7", -1, 3000));
    markFrames();
    const std::size_t asked = dialogs.texts.size();
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(press(*app, kMain, "Command7"));
    ASSERT_TRUE(watch->waitFor([&] { return watch->indexOf("W05300001", mark) >= 0; }, 10000))
        << trace();
    ASSERT_GT(dialogs.texts.size(), asked);
    EXPECT_EQ(dialogs.texts[asked],
              "DO YOU WANT TO SET THE ANALOG OUTPUT SCALE = 1   ( 1000  \xC2\xB0"
              "F  input  =  10  Volt  output ) \nOFFSET = 0 ?");
    sent = commandList(watch->frames(), mark);
    const std::vector<std::string> burst = {"W0181", "W0285",     "W0405",
                                            "W0303", "W06200000", "W05300001"};
    ASSERT_GE(sent.size(), burst.size());
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 6), burst) << trace();
    // The operator waits for the first reading in Input 1 before typing its output.
    ASSERT_TRUE(waitFor([&] { return p.live.liveStep == 1 && p.live.capturedInput[1]; }, 8000))
        << trace();
    EXPECT_EQ(f.Text1[0].caption, p.live.shownReading);
    ASSERT_TRUE(typeInto(*app, kMain, "Text1", 1, "2\r"));
    ASSERT_TRUE(waitFor([&] { return p.live.liveStep == 2; }, 3000)) << trace();
    const std::string input1 = p.config.scalingText[1];
    EXPECT_NEAR(textToNumber(input1), *p.live.capturedInput[1], 1e-9);
    // Then until the reading has moved well away from Input 1.
    ASSERT_TRUE(waitFor(
        [&] {
            return p.live.capturedInput[2] &&
                   std::abs(*p.live.capturedInput[2] - *p.live.capturedInput[1]) > 5;
        },
        10000))
        << input1 << " / " << f.Text1[2].caption;
    ASSERT_TRUE(typeInto(*app, kMain, "Text1", 3, "8\r"));
    ASSERT_TRUE(waitFor([&] { return p.live.liveStep == 0; }, 3000)) << trace();
    const std::string input2 = p.config.scalingText[3];
    EXPECT_EQ(p.config.scalingText[2], "2");
    EXPECT_EQ(p.config.scalingText[4], "8");
    savePicture(mainWindow(), "62-tc-live-scaling");
    markFrames();
    okPanel("Command4", QMessageBox::Yes);
    ASSERT_TRUE(waitForSend()) << trace();

    // The two points as the unit received them: outputs with four decimals (2 -> 20000,
    // 8 -> 80000), inputs as captured (two decimals: the value x 100).
    auto inputCode = [](const std::string& text) {
        const double value = textToNumber(text);
        char code[8];
        std::snprintf(code, sizeof code, "3%05X", static_cast<unsigned>(std::lround(value * 100)));
        return std::string(code);
    };
    std::map<std::string, std::string> unit = writtenRegisters(watch->frames(), mark);
    EXPECT_EQ(unit["3C"], "504E20" + inputCode(input1)) << input1;
    EXPECT_EQ(unit["3D"], "513880" + inputCode(input2)) << input2;
    EXPECT_EQ(unit["01"], "81");
    EXPECT_EQ(unit["02"], "85");
    EXPECT_EQ(unit["03"], "03");
    // The output now follows the line through the two points.
    const double scale = 6.0 / (textToNumber(input2) - textToNumber(input1));
    EXPECT_NEAR(p.live.outputScale, scale, std::abs(scale) * 1e-3);
    EXPECT_NEAR(p.live.outputOffset, 2 - scale * textToNumber(input1), 0.01);
    // Once the readings resume, the output shown is the line's value of the reading shown
    // (held between -0.14 V and 12 V on screen).
    const long closing = watch->indexOf("Z01", mark);
    ASSERT_TRUE(watch->waitFor([&] { return watch->indexOf("X01", closing + 2) >= 0; }, 8000));
    settle(100);
    const double shownOutput = std::clamp(
        p.live.outputOffset + p.live.outputScale * textToNumber(f.Label4.caption), -0.14, 12.0);
    EXPECT_NEAR(textToNumber(f.Label7.caption), shownOutput, 0.0015)
        << f.Label4.caption << " -> " << f.Label7.caption;

    // Log data every second for a few seconds into DAY1.DAT.
    WindowScript script(*app);
    script.chooseFile("DAY1");
    script.then(
        "samplingfrm", "Text1",
        [&] {
            savePicture(app->renderer().window("samplingfrm"), "63-tc-sampling");
            press(*app, "samplingfrm", "Command1", 0);
        },
        2);
    ASSERT_TRUE(chooseMenu(*app, kMain, "logdata", "Logdat"));
    ASSERT_TRUE(waitFor([&] { return p.log.loggingOn == 1; }, 5000)) << trace();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(p.log.sampleTicks, 2);
    EXPECT_TRUE(app->widget(kMain, "Label24")->isVisible());
    const auto datFile = folder.path / "DAY1.DAT";
    ASSERT_TRUE(waitFor([&] { return crlfLines(fileText(datFile)).size() >= 4; }, 10000))
        << fileText(datFile);
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(chooseMenu(*app, kMain, "logdata", "unlogdat"));
    ASSERT_TRUE(waitFor([&] { return p.log.loggingOn == 0; }, 3000));
    EXPECT_EQ(dialogs.texts.back(), "Do you want to turn off data logging ?");
    const std::size_t records = crlfLines(fileText(datFile)).size();
    settle(1500);
    const std::string dat = fileText(datFile);
    const std::vector<std::string> lines = crlfLines(dat);
    EXPECT_EQ(lines.size(), records) << "records after logging was turned off";
    const std::regex record(std::string(R"re(( *[0-9.]+)  )re") + "\xB0" +
                            R"re(F  {10}(\d\d):(\d\d):(\d\d)( +)(\d\d)-(\d\d)-(\d{4}))re");
    for (const std::string& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, record))
            << "'" << QString::fromLatin1(line.c_str()).toStdString() << "'";
        const double reading = std::stod(m[1]);
        EXPECT_GE(reading, 99.0);
        EXPECT_LE(reading, 501.0);
        EXPECT_EQ(m[1].str().find('.') + 3, m[1].str().size()) << "all digits kept: " << line;
        EXPECT_EQ((line.size() - 10) % 14, 0u) << "date at a print zone: " << line;
        EXPECT_LE(m[5].length(), 14);
    }

    // Save the configuration; the file holds exactly what the unit was sent.
    script.chooseFile("day1");
    ASSERT_TRUE(chooseMenu(*app, kMain, "FILES", "SAVECF"));
    const auto cfgFile = folder.path / "day1.CFG";  // the extension completed
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(cfgFile); }, 5000));
    ASSERT_TRUE(waitFor(
        [&] { return f.Label3.caption == "The CONFIGURATION is succesfully saved. "; }, 3000));
    EXPECT_EQ(crlfLines(fileText(cfgFile)),
              (std::vector<std::string>{unit["01"], unit["02"], unit["04"], unit["3D"] + unit["3C"],
                                        unit["03"]}));

    // Change the filter without sending, then load the file back: the saved filter returns.
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "FILTER"));
    ASSERT_TRUE(pickLine(*app, 8, 1));
    okPanel("Command12", QMessageBox::No);
    EXPECT_EQ(f.LABEL17[1].caption, "2");
    script.chooseFile("day1.CFG");
    ASSERT_TRUE(chooseMenu(*app, kMain, "FILES", "LDCNF"));
    ASSERT_TRUE(waitFor(
        [&] { return f.Label3.caption == "The CONFIGURATION is succesfully loaded. "; }, 5000))
        << trace();
    EXPECT_EQ(p.config.choice[3][1], 6);
    EXPECT_EQ(f.LABEL17[1].caption, "32");
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "FILTER"));
    EXPECT_EQ(f.List1[8].selected, 5);
    ASSERT_TRUE(press(*app, kMain, "Command11"));
    ASSERT_TRUE(chooseMenu(*app, kMain, "CNF", "INPF"));
    EXPECT_EQ(f.List1[0].selected, 1);
    EXPECT_EQ(f.List1[1].selected, 1);
    savePicture(mainWindow(), "64-tc-loaded");
    ASSERT_TRUE(press(*app, kMain, "Command10"));

    // Print: with no printer the report goes to a PDF file.
    const std::string pdf = (folder.path / "day1-report.pdf").string();
    std::unique_ptr<qt::QtPrinter> pdfPrinter;
    std::unique_ptr<PdfInsteadOfPrinter> pdfAnswers;
    if (QPrinterInfo::defaultPrinter().isNull()) {
        pdfAnswers = std::make_unique<PdfInsteadOfPrinter>(pdf);
    } else {
        pdfPrinter = qt::QtPrinter::toPdfFile(QString::fromStdString(pdf));
        p.printer = pdfPrinter.get();
    }
    ASSERT_TRUE(chooseMenu(*app, kMain, "FILES", "PRT"));
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(pdf) && !f.Label3.visible; }, 10000))
        << trace() << " file dialog: "
        << (pdfAnswers && !pdfAnswers->chosen.empty() ? pdfAnswers->chosen.back() : "");
    if (pdfAnswers) {
        ASSERT_EQ(pdfAnswers->questions.size(), 1u);
        EXPECT_NE(pdfAnswers->questions[0].find("No printer"), std::string::npos);
    }
    // The page as text, blanks collapsed (the PDF keeps positions, not blanks). After the load
    // the scaling texts are the file's: the same numbers, written with zeros in front.
    const std::string report = collapseBlanks(pdfText(pdf));
    EXPECT_EQ(p.config.scalingText[2], "02.0000");
    EXPECT_EQ(p.config.scalingText[4], "08.0000");
    EXPECT_NEAR(textToNumber(p.config.scalingText[1]), textToNumber(input1), 1e-9);
    EXPECT_NEAR(textToNumber(p.config.scalingText[3]), textToNumber(input2), 1e-9);
    for (const std::string& expectedText :
         {std::string("MODEL : THERMOCOUPLE"), std::string("Thermocouple type : 'K' T/C"),
          std::string("Line frequency: 50 Hz"), std::string("Unit of temperature : Fahrenheit (F)"),
          std::string("Compensation : No"), std::string("Analog output mode : Volt"),
          std::string("Filter time constant : 32"), std::string("Resolution : 0.01"),
          std::string("Input 1 Desired output 1"),
          collapseBlanks(p.config.scalingText[1] + "  \u00B0F " + p.config.scalingText[2] +
                         "  Volt"),
          collapseBlanks(p.config.scalingText[3] + "  \u00B0F " + p.config.scalingText[4] +
                         "  Volt")}) {
        EXPECT_NE(report.find(expectedText), std::string::npos) << expectedText << "\n" << report;
    }

    // The trend graph: the readings of the day, in degrees Fahrenheit.
    ASSERT_TRUE(chooseMenu(*app, kMain, "GRA"));
    ASSERT_TRUE(waitFor([&] { return windowShown(*app, "Form9"); }, 3000));
    auto* chart = qobject_cast<qt::TrendChart*>(app->widget("Form9", "Graph1"));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->points().size(), p.trend.trendCount);
    EXPECT_GE(chart->points().size(), 5);
    for (const QPointF& point : chart->points()) {
        EXPECT_GE(point.y(), 99.0);
        EXPECT_LE(point.y(), 501.0);
    }
    const int shown = 2 * p.trend.trendCount - 2;
    EXPECT_EQ(app->renderer().window("Form9")->windowTitle().toStdString(),
              "Last  " + std::to_string(shown) + " reading(s) of input");
    savePicture(app->renderer().window("Form9"), "65-tc-graph");
    ASSERT_TRUE(press(*app, "Form9", "Command1"));

    // End of the day: back to the start, the same port again; the unit's own read shows what
    // was sent. Then Exit ends the program.
    ASSERT_TRUE(press(*app, kMain, "Command8"));
    ASSERT_TRUE(press(*app, kQuestionWindow, "Command3", 0));
    ASSERT_TRUE(press(*app, kPortChooserWindow, "Command3", 0));
    ASSERT_TRUE(waitFor([&] { return windowShown(*app, kMain) && f.Timer1.enabled; }, 30000))
        << trace();
    EXPECT_EQ(p.config.choice[1][1], 2);
    EXPECT_EQ(p.config.choice[2][1], 2);
    EXPECT_EQ(f.LABEL17[1].caption, "32");
    EXPECT_EQ(f.LABEL18[1].caption, "0.01");
    ASSERT_TRUE(waitFor([&] { return labelText(*app, "Label13") == "  \u00B0F "; }, 3000));
    EXPECT_EQ(labelText(*app, "Label16"), "  Volt");
    dialogs.answers.push_back(QMessageBox::Yes);
    ASSERT_TRUE(press(*app, kMain, "Command15"));
    ASSERT_TRUE(waitFor([&] { return app->renderer().ended(); }, 3000));
    EXPECT_EQ(dialogs.texts.back(), "Do you want to exit ?");
    EXPECT_FALSE(windowShown(*app, kMain));
    EXPECT_TRUE(dialogs.texts.size() >= 5);
    for (const std::string& text : dialogs.texts) {
        EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace sigcond::test
