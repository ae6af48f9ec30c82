#include "records/data_log.h"

#include <gtest/gtest.h>

#include "records_bench.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

using test::RecordsBench;

// The operator accepts the sampling window with the given boxes.
void answerSampling(RecordsBench& b, std::string h, std::string m, std::string s) {
    b.dialogs.modalActions.push_back([&b, h, m, s] {
        b.p.samplingfrm.Text1[0].caption = h;
        b.p.samplingfrm.Text1[1].caption = m;
        b.p.samplingfrm.Text1[2].caption = s;
        samplingOk(b.p);
    });
}

// One live cycle's reading as the live-reading cycle leaves it for the logging step.
void cycle(RecordsBench& b, const std::string& reply) {
    b.p.link.replyText = reply;
    b.p.form1.Label4.caption = reply;
    loggingStep(b.p);
    b.clock.advance(0.45);
}

TEST(DataLog, RecordHasReadingUnitTimeAndDateInPrintZones) {
    EXPECT_EQ(logRecord("  12.34", "  \xB0" "C ", "09:05:03", "12-08-2026"),
              "  12.34  \xB0" "C           09:05:03" + std::string(12, ' ') + "12-08-2026\r\n");
    // The carriage return or the appended blank that ends a shown reading is not logged.
    EXPECT_EQ(logRecord("  12.34\r", "  mA", "09:05:03", "12-08-2026").substr(0, 11), "  12.34  mA");
    EXPECT_EQ(logRecord("1.234 ", "  V", "09:05:03", "12-08-2026").substr(0, 9), "1.234  V ");
    // 29 characters before the blanks: the date starts in the zone at column 42.
    const std::string longer = logRecord("123456.7", "  mA", "23:59:59", "01-31-2027");
    EXPECT_EQ(longer.find("01-31-2027"), 42u);
    // A time that ends on a zone boundary is followed by a whole zone of blanks.
    const std::string boundary = logRecord("1234567890 ", "", "00:00:00", "01-01-2027");
    EXPECT_EQ(boundary, "1234567890          00:00:00" + std::string(14, ' ') + "01-01-2027\r\n");
    EXPECT_EQ(logRecord("", "", "00:00:00", "01-01-2027").substr(0, 18), "          00:00:00");
}

TEST(DataLog, OneSecondIntervalWritesEverySecondCycleWithAReading) {
    RecordsBench b;
    b.p.form1.Label13.caption = "  \xB0" "C ";
    b.typeName("RUN");
    answerSampling(b, "0", "0", "1");
    b.p.form1.unlogdat.enabled = false;  // as the main screen shows them before logging
    b.p.form1.Image1.visible = false;
    b.p.screen.abortFlag = 1;  // a report left from earlier does not stop logging
    startLogging(b.p);
    ASSERT_EQ(b.p.log.loggingOn, 1);
    EXPECT_EQ(b.p.screen.abortFlag, 0);
    EXPECT_TRUE(b.p.form1.Image1.visible);
    EXPECT_EQ(b.p.log.sampleTicks, 2);
    EXPECT_FALSE(b.p.form1.Logdat.enabled);
    EXPECT_TRUE(b.p.form1.unlogdat.enabled);
    EXPECT_TRUE(b.p.form1.Label24.visible);
    EXPECT_EQ(b.p.form1.Label24.caption, "Data Logging on");
    EXPECT_EQ(b.p.samplingfrm.left, (b.p.form1.width - b.p.samplingfrm.width) / 2);
    EXPECT_EQ(b.p.samplingfrm.top, (b.p.form1.height - b.p.samplingfrm.height) / 3);
    const std::string path = b.path("RUN.DAT");
    EXPECT_EQ(test::fileText(path), "");

    b.clock.setTimeOfDay(10 * 3600);
    cycle(b, "  20.11");  // counts down
    EXPECT_EQ(test::fileText(path), "");
    cycle(b, "");         // no reading: neither counts nor writes
    cycle(b, "");
    cycle(b, "  20.22");  // the second cycle with a reading writes (flushed at once)
    EXPECT_EQ(test::fileText(path),
              "  20.22  \xB0" "C           10:00:01" + std::string(12, ' ') + "12-08-2026\r\n");
    cycle(b, "  20.33");
    cycle(b, "  20.44");
    cycle(b, "  20.55");
    cycle(b, "  20.66");
    const std::string text = test::fileText(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_NE(text.find("  20.44  \xB0" "C "), std::string::npos);
    EXPECT_NE(text.find("  20.66  \xB0" "C "), std::string::npos);
}

TEST(DataLog, IndicatorBlinksEverySecondCountingCycleOnly) {
    RecordsBench b;
    b.typeName("BLINK");
    answerSampling(b, "0", "0", "10");
    startLogging(b.p);
    ASSERT_TRUE(b.p.form1.Image1.visible);
    std::vector<bool> shown;
    for (int i = 0; i < 4; ++i) {
        cycle(b, "  1.0");
        shown.push_back(b.p.form1.Image1.visible);
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false, true}));
    cycle(b, "");
    cycle(b, "");
    EXPECT_TRUE(b.p.form1.Image1.visible);
    EXPECT_EQ(b.p.log.sampleCountdown, 16);
}

TEST(DataLog, StoppingKeepsTheFileAndRestartingStartsTheNextOneEmpty) {
    RecordsBench b;
    b.typeName("ONE");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    cycle(b, "  1.00");
    cycle(b, "  2.00");
    b.dialogs.answers = {Answer::No};
    stopLogging(b.p);
    EXPECT_EQ(b.p.log.loggingOn, 1);
    stopLogging(b.p);
    EXPECT_EQ(b.dialogs.messages.back().text, "Do you want to turn off data logging ?");
    EXPECT_EQ(b.dialogs.messages.back().buttons, Buttons::YesNo);
    EXPECT_EQ(b.dialogs.messages.back().icon, Icon::Question);
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_TRUE(b.p.form1.Logdat.enabled);
    EXPECT_FALSE(b.p.form1.unlogdat.enabled);
    EXPECT_FALSE(b.p.form1.Label24.visible);
    EXPECT_FALSE(b.p.form1.Image1.visible);
    cycle(b, "  3.00");
    cycle(b, "  4.00");

    b.typeName("TWO");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    cycle(b, "  5.00");
    cycle(b, "  6.00");
    const std::string one = test::fileText(b.path("ONE.DAT"));
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 1);
    EXPECT_EQ(one.substr(0, 5), "  2.0");
    EXPECT_EQ(test::fileText(b.path("TWO.DAT")).substr(0, 5), "  6.0");

    // The same file again starts empty.
    b.typeName("TWO");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    EXPECT_EQ(test::fileText(b.path("TWO.DAT")), "");
}

TEST(DataLog, LeavingTheMainScreenEndsLoggingAndKeepsTheRecords) {
    RecordsBench b;
    loadMainScreen(b.p);
    b.typeName("LEFT");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    cycle(b, "  1.00");
    cycle(b, "  2.00");
    command8Click(b.p);  // "&Previous page", then the main screen is loaded again
    loadMainScreen(b.p);
    cycle(b, "  3.00");
    cycle(b, "  4.00");
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_FALSE(b.p.log.logFile.isOpen());
    EXPECT_TRUE(b.p.form1.Logdat.enabled);
    EXPECT_FALSE(b.p.form1.unlogdat.enabled);
    EXPECT_FALSE(b.p.form1.Label24.visible);
    const std::string text = test::fileText(b.path("LEFT.DAT"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.substr(0, 5), "  2.0");
}

TEST(DataLog, CancelledChooserOrSamplingWindowStartsNothing) {
    RecordsBench b;
    b.cancelChooser();
    startLogging(b.p);
    EXPECT_EQ(b.p.log.loggingOn, 0);
    b.typeName("NOT");
    b.dialogs.modalActions.push_back([&b] { samplingCancel(b.p); });
    startLogging(b.p);
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_FALSE(b.p.samplingfrm.visible);
    EXPECT_FALSE(std::filesystem::exists(b.path("NOT.DAT")));
    EXPECT_EQ(b.dialogs.modalWindows, (std::vector<std::string>{"Form8", "Form8", "samplingfrm"}));
}

TEST(DataLog, SamplingWindowKeyRulesAndMessages) {
    RecordsBench b;
    loadSamplingWindow(b.p);
    SamplingWindow& w = b.p.samplingfrm;
    EXPECT_EQ(w.Text1[0].caption, "0");
    EXPECT_EQ(w.Text1[2].caption, "1");
    EXPECT_EQ(w.Label1.caption, "Sampling Rate :");
    EXPECT_EQ(w.Command1[1].caption, "&Cancel");

    w.Text1[1].caption = "59";
    int key = '7';
    samplingKeyPress(b.p, 1, key);
    EXPECT_EQ(key, 0);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text, "You can not enter more than 2 digits");
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Exclamation);
    key = 8;
    samplingKeyPress(b.p, 1, key);
    EXPECT_EQ(key, 8);
    key = '5';
    samplingKeyPress(b.p, 0, key);
    EXPECT_EQ(key, '5');
    samplingKeyPress(b.p, 3, key);  // no such box
    EXPECT_EQ(key, 0);
    // Focus and text events for a box that does not exist change nothing.
    ScreenEvent focus{.window = "samplingfrm", .control = "Text1", .index = 3,
                      .kind = EventKind::GotFocus};
    samplingWindowEvent(b.p, focus);
    EXPECT_EQ(w.focus, "Text1(0)");
    for (int dropped : {'a', '.', '-', ' '}) {
        key = dropped;
        samplingKeyPress(b.p, 2, key);
        EXPECT_EQ(key, 0);
    }
    key = 13;
    samplingKeyPress(b.p, 0, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(w.focus, "Text1(1)");
    key = 13;
    samplingKeyPress(b.p, 2, key);
    EXPECT_EQ(key, 13);
    EXPECT_EQ(b.dialogs.messages.size(), 1u);

    w.Text1 = {};
    w.Text1[0].caption = "0";
    w.Text1[1].caption = "";
    w.Text1[2].caption = "00";
    samplingOk(b.p);
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(b.dialogs.messages.back().text, "You must enter at least 1 second");
    EXPECT_EQ(b.p.log.loggingOn, 0);

    w.Text1[0].caption = "99";
    w.Text1[1].caption = "0";
    w.Text1[2].caption = "0";
    samplingOk(b.p);
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(b.p.log.sampleTicks, 712800);
    EXPECT_EQ(b.p.log.sampleCountdown, 712800);
    EXPECT_EQ(b.p.log.loggingOn, 1);
}

TEST(DataLog, SamplingWindowFollowsItsScreenEvents) {
    RecordsBench b;
    loadSamplingWindow(b.p);
    SamplingWindow& w = b.p.samplingfrm;
    w.Command1[0].caption = "changed";
    loadSamplingWindow(b.p);  // a fresh window each time
    EXPECT_EQ(w.Command1[0].caption, "&OK");
    const auto send = [&](const std::string& control, int index, EventKind kind, int key = 0,
                          const std::string& text = "") {
        ScreenEvent e{.window = "samplingfrm", .control = control, .index = index, .kind = kind,
                      .keyAscii = key, .text = text};
        samplingWindowEvent(b.p, e);
        return e.keyAscii;
    };
    for (int box : {0, 1, 2}) send("Text1", box, EventKind::Change, 0, std::to_string(box + 1));
    send("Text1", -1, EventKind::Change, 0, "9");
    EXPECT_EQ(w.Text1[0].caption + w.Text1[1].caption + w.Text1[2].caption, "123");
    send("Text1", 2, EventKind::GotFocus);
    EXPECT_EQ(w.focus, "Text1(2)");
    send("Text1", 0, EventKind::GotFocus);
    send("Text1", -1, EventKind::GotFocus);
    EXPECT_EQ(w.focus, "Text1(0)");
    send("Text1", 1, EventKind::KeyPress, 13);
    EXPECT_EQ(w.focus, "Text1(2)");
    EXPECT_EQ(send("Text1", 1, EventKind::KeyPress, '0'), '0');
    EXPECT_EQ(send("Text1", 1, EventKind::KeyPress, '9'), '9');
    EXPECT_EQ(send("Text1", 1, EventKind::KeyPress, '/'), 0);
    EXPECT_EQ(send("Text1", 1, EventKind::KeyPress, ':'), 0);
    EXPECT_EQ(send("Command1", 0, EventKind::GotFocus), 0);
    send("", -1, EventKind::Resize);  // only the close box cancels
    send("Command1", 2, EventKind::Click);
    EXPECT_TRUE(w.visible);
    send("Command1", 0, EventKind::Click);  // OK: 1 h 2 min 3 s in half-second cycles
    EXPECT_EQ(b.p.log.sampleTicks, 2 * 3723);
    EXPECT_EQ(b.p.log.loggingOn, 1);
    EXPECT_FALSE(w.visible);
    loadSamplingWindow(b.p);
    send("", -1, EventKind::CloseRequest);  // the window's close box cancels
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_FALSE(w.visible);
    b.p.log.loggingOn = 1;
    loadSamplingWindow(b.p);
    send("Command1", 1, EventKind::Click);  // and so does Cancel
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_FALSE(w.visible);
}

TEST(DataLog, WriteFailureStopsLoggingAndKeepsTheRecords) {
    RecordsBench b;
    b.typeName("/dev/full");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    ASSERT_EQ(b.p.log.loggingOn, 1);
    cycle(b, "  1.00");
    cycle(b, "  2.00");
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_TRUE(b.p.form1.Logdat.enabled);
    EXPECT_FALSE(b.p.form1.Label24.visible);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_EQ(b.dialogs.messages[0].text, "Disk full.\rData logging is turned off.");
    EXPECT_FALSE(b.p.log.logFile.isOpen());

    // Records written before a failure stay: write one, then make the file unwritable.
    b.typeName("KEPT");
    answerSampling(b, "0", "0", "1");
    startLogging(b.p);
    cycle(b, "  3.00");
    cycle(b, "  4.00");
    b.p.log.logFile.close();  // stands for a medium pulled out
    cycle(b, "  5.00");
    cycle(b, "  6.00");
    EXPECT_EQ(b.p.log.loggingOn, 0);
    EXPECT_EQ(b.dialogs.messages.back().text,
              "Cannot write to the log file.\rData logging is turned off.");
    EXPECT_EQ(test::fileText(b.path("KEPT.DAT")).substr(0, 5), "  4.0");
}

TEST(DataLog, OpenFailureIsReportedAndTheChooserComesBack) {
    RecordsBench b;
    b.typeName(b.path("missing/X.DAT"));
    answerSampling(b, "0", "0", "1");
    b.cancelChooser();
    startLogging(b.p);
    EXPECT_EQ(b.p.log.loggingOn, 0);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_EQ(b.dialogs.messages[0].text, "Path not found.\rPlease enter again");
    EXPECT_TRUE(b.p.form1.Logdat.enabled || !b.p.form1.unlogdat.enabled);
}

}  // namespace
}  // namespace sigcond
