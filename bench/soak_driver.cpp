// A long run of the real program (Qt offscreen, in-process) against sigcond-unit-sim with
// faults now and then: the live reading runs and logs every second into a .DAT file while the
// unit falls silent, rejects a reading request with "?" or sends noise ahead of a reply.
//
// What is due: logging at 1 second makes the sampling period 2 live-reading cycles. Every cycle
// whose reading text is not empty counts; the countdown starts at 2 when logging starts, so the
// 2nd, 4th, 6th ... such cycle writes one record holding the reading of that very cycle. A cycle
// without a reply (the unit silent) neither counts nor writes. The driver watches every cycle
// right after the program has run it, keeps the records that are due, and compares them with
// the lines of the .DAT file as they are written: none may be missing, changed or extra.
//
// The readings count up (1.00, 2.00 ...), so the driver also checks that the program never
// shows a reply twice or out of order.
//
// Prints one figure per line and exits non-zero when memory grew by 1 MB or more, a record was
// lost, changed or extra, logging stopped, a message box appeared, a reading repeated or the
// process took 5 % of a core or more over the soak.
// Usage: soak_driver MINUTES [FOLDER]   (FOLDER keeps the .DAT file and the simulator's log)
#include <QApplication>
#include <QLineEdit>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include <sys/resource.h>

#include "e2e/startup_driver.h"
#include "platform/resident_memory.h"
#include "program.h"
#include "qt/application.h"
#include "qt/rendered_window.h"
#include "support/sim_process.h"
#include "ui/start_flow.h"

namespace {

using namespace sigcond;
using Steady = std::chrono::steady_clock;

constexpr const char* kMain = "Form1";
constexpr long kGrowthLimitKb = 1024;
// The program with live reading and logging at 1 s should take under 2 % of a core; the bound
// leaves room for a loaded build machine.
constexpr double kProcessorLimitPercent = 5.0;

// User and system processor time of this process so far, in seconds.
double processorSeconds() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Faults now and then: a silence of 3 s closing every 20 s, a "?" to every 29th reading request,
// noise ahead of every 17th reading reply. Readings count, two decimals.
const std::vector<std::string> kUnitOptions = {"--type",          "TC",   "--count",  //
                                               "--silence-every", "20,3",             //
                                               "--reject-every",  "29",               //
                                               "--noise-every",   "17",               //
                                               "--noise",         "#~"};

// The reading data of a reply: what came before its carriage return.
std::string readingOf(const std::string& reply) { return reply.substr(0, reply.find('\r')); }

// "   12.00" -> 12; -1 for a text that is not a counted reading.
long countedNumber(const std::string& reading) {
    static const std::regex counted(R"( *(\d+)\.00)");
    std::smatch m;
    return std::regex_match(reading, m, counted) ? std::stol(m[1]) : -1;
}

struct Figures {
    long cycles = 0, good = 0, missing = 0, otherReadings = 0;
    long due = 0, written = 0, lost = 0, changed = 0, extra = 0;
    long repeatedReadings = 0, firstNumber = 0, lastNumber = 0, distinctNumbers = 0;
    long pauseCycles = 0;
    bool loggingStopped = false;
    std::vector<std::string> problems;  // the first few, for the report
    void problem(const std::string& text) {
        if (problems.size() < 10) problems.push_back(text);
    }
};

// The .DAT file, read as it grows and compared with the records due.
class RecordCheck {
public:
    RecordCheck(std::string path, Figures& figures) : path_(std::move(path)), f_(figures) {}

    void expect(const std::string& reading, const std::string& unitText) {
        due_.push_back(reading + unitText + "          ");
        ++f_.due;
    }

    // Compares the complete lines written since the last call. `final`: nothing more is due.
    void readNew(bool final) {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(offset_);
        std::string line;
        while (std::getline(in, line)) {
            if (in.eof()) break;  // a line still being written
            offset_ += static_cast<std::streamoff>(line.size()) + 1;
            check(line);
        }
        if (final) {
            f_.lost += static_cast<long>(due_.size());
            if (!due_.empty()) f_.problem("not written: \"" + due_.front() + "\"...");
            due_.clear();
        }
    }

private:
    void check(const std::string& line) {
        ++f_.written;
        if (due_.empty()) {
            ++f_.extra;
            f_.problem("record not due: \"" + line + "\"");
            return;
        }
        const std::string expected = due_.front();
        due_.pop_front();
        if (!wellFormed(line, expected)) {
            ++f_.changed;
            f_.problem("record \"" + line + "\" where \"" + expected + "hh:mm:ss...\" was due");
        }
    }

    // reading, unit text, ten blanks, hh:mm:ss, blanks to the next 14-column zone,
    // mm-dd-yyyy, CR (the LF ended the line); date and time never go back.
    bool wellFormed(const std::string& line, const std::string& expectedStart) {
        if (line.rfind(expectedStart, 0) != 0) return false;
        static const std::regex time(R"((\d\d):(\d\d):(\d\d))");
        static const std::regex date(R"((\d\d)-(\d\d)-(\d{4})\r)");
        const std::size_t t = expectedStart.size();
        const std::size_t zone = ((t + 8) / 14 + 1) * 14;
        if (line.size() != zone + 11) return false;
        std::smatch tm, dm;
        const std::string timeText = line.substr(t, 8), dateText = line.substr(zone);
        if (!std::regex_match(timeText, tm, time) || !std::regex_match(dateText, dm, date)) {
            return false;
        }
        if (line.find_first_not_of(' ', t + 8) != zone) return false;
        if (std::stoi(tm[1]) > 23 || std::stoi(tm[2]) > 59 || std::stoi(tm[3]) > 59) return false;
        const std::string when = dm[3].str() + dm[1].str() + dm[2].str() + timeText;
        if (when < lastWhen_) return false;
        lastWhen_ = when;
        return true;
    }

    std::string path_;
    Figures& f_;
    std::deque<std::string> due_;
    std::streamoff offset_ = 0;
    std::string lastWhen_;
};

bool connect(qt::Application& app, test::SimProcess& sim) {
    setenv("SIGCOND_COM1", sim.linkPath().c_str(), 1);
    app.start();
    if (!test::press(app, kSplashWindow, "Command3") ||
        !test::press(app, kWelcomeWindow, "Command1") ||
        !test::press(app, kQuestionWindow, "Command3", 0) ||     // "&Yes"
        !test::press(app, kPortChooserWindow, "Command3", 0)) {  // "Com &1"
        return false;
    }
    return test::waitFor([&] { return app.program().form1.Timer1.enabled; }, 30000);
}

// "     Log Data &on": the file SOAK in `folder`, then the sampling window's default 1 second.
bool startLogging(qt::Application& app, const std::string& folder) {
    Program& p = app.program();
    p.files.lastDirectory = folder;
    QTimer::singleShot(0, [&app] {
        auto* box = qobject_cast<QLineEdit*>(test::waitForWidget(app, "Form8", "Text1"));
        if (!box) return;
        box->setText(QStringLiteral("SOAK"));
        emit box->textEdited(box->text());
        QTimer::singleShot(0, [&app] {
            test::waitForWidget(app, "samplingfrm", "Text1", 2);
            test::press(app, "samplingfrm", "Command1", 0);  // "&OK" with 0 h 0 min 1 s
        });
        test::press(app, "Form8", "Command2");
    });
    if (!test::chooseMenu(app, kMain, "logdata", "Logdat")) return false;
    return test::waitFor([&] { return p.log.loggingOn == 1 && p.log.logFile.isOpen(); }, 10000) &&
           p.log.sampleTicks == 2;
}

struct FaultCount {
    long silences = 0, unanswered = 0, rejections = 0, noisy = 0, readingRequests = 0;
};

FaultCount faultsInLog(const std::string& logPath) {
    FaultCount c;
    std::ifstream in(logPath);
    std::string line;
    bool inSilence = false;
    while (std::getline(in, line)) {
        const bool silent = line.find("!silence") != std::string::npos;
        if (silent && !inSilence) ++c.silences;
        inSilence = silent;
        c.unanswered += silent;
        c.rejections += line.find("reject") != std::string::npos;
        c.noisy += line.find("noise") != std::string::npos;
        c.readingRequests += line.find(" X01") != std::string::npos;
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::atof(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: soak_driver MINUTES [FOLDER]\n");
        return 2;
    }
    const double minutes = std::atof(argv[1]);
    namespace fs = std::filesystem;
    const fs::path folder =
        argc > 2 ? fs::path(argv[2])
                 : fs::temp_directory_path() / ("sigcond-soak-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    test::SimProcess sim(kUnitOptions);
    if (!sim.start()) {
        std::fprintf(stderr, "soak: %s\n", sim.error().c_str());
        return 1;
    }
    test::DialogWatcher boxes;
    qt::Application app;
    Program& p = app.program();
    if (!connect(app, sim)) {
        std::fprintf(stderr, "soak: the program did not reach the live reading\n");
        return 1;
    }
    QTimer* timer1 = app.renderer().window(kMain)->timer("Timer1");
    if (!timer1) {
        std::fprintf(stderr, "soak: no live-reading timer\n");
        return 1;
    }
    if (!startLogging(app, folder.string())) {
        std::fprintf(stderr, "soak: data logging did not start\n");
        return 1;
    }
    const std::string datPath = p.log.logFile.path();

    Figures f;
    RecordCheck records(datPath, f);
    long readingCycles = 0;  // cycles with a reading text since logging started
    // Connected after the program's own handler: runs right after each live-reading cycle.
    QObject::connect(timer1, &QTimer::timeout, [&] {
        ++f.cycles;
        if (p.live.waitTicks != 0) {
            ++f.pauseCycles;
            f.problem("a quiet cycle without a burst of commands");
            return;
        }
        if (p.log.loggingOn != 1) {
            if (!f.loggingStopped) f.problem("data logging stopped");
            f.loggingStopped = true;
            return;
        }
        const std::string reading = readingOf(p.link.replyText);
        if (p.link.replyText.empty()) {
            ++f.missing;
            return;
        }
        const long number = countedNumber(reading);
        if (number < 0) {
            ++f.otherReadings;
            f.problem("reading \"" + reading + "\" the unit never sent");
        } else {
            ++f.good;
            if (number <= f.lastNumber) {
                ++f.repeatedReadings;
                f.problem("reading " + std::to_string(number) + " after " +
                          std::to_string(f.lastNumber));
            } else {
                if (f.firstNumber == 0) f.firstNumber = number;
                ++f.distinctNumbers;
                f.lastNumber = number;
            }
        }
        if (++readingCycles % 2 == 0) records.expect(reading, p.form1.Label13.caption);
    });

    // Memory at start: once the first readings are on screen and logged.
    test::waitFor([&] { return f.good >= 6; }, 20000);
    const long rssStart = sigcond::residentMemoryKb();

    // The driver sleeps in the event loop between events: a timer checks the file every 5 s and
    // another ends the soak, so the processor time measured is the program's own.
    const double cpuStart = processorSeconds();
    const auto wallStart = Steady::now();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] { records.readNew(false); });
    check.start(5000);
    QTimer::singleShot(static_cast<int>(minutes * 60000), &loop, &QEventLoop::quit);
    loop.exec();
    check.stop();
    const double cpuSeconds = processorSeconds() - cpuStart;
    const double wallSeconds = std::chrono::duration<double>(Steady::now() - wallStart).count();
    const double cpuPercent = wallSeconds > 0 ? 100.0 * cpuSeconds / wallSeconds : 0.0;
    const long rssEnd = sigcond::residentMemoryKb();
    records.readNew(true);
    const FaultCount faults = faultsInLog(sim.logPath());

    const long growth = rssEnd - rssStart;
    std::printf("soak_minutes %.1f\n", minutes);
    std::printf("rss_start_kb %ld\nrss_end_kb %ld\nrss_growth_kb %ld\n", rssStart, rssEnd, growth);
    std::printf("cycles %ld (good readings %ld, missing %ld, other %ld)\n", f.cycles, f.good,
                f.missing, f.otherReadings);
    std::printf("records_due %ld\nrecords_written %ld\nrecords_lost %ld\n", f.due, f.written,
                f.lost);
    std::printf("records_changed %ld\nrecords_extra %ld\n", f.changed, f.extra);
    std::printf("readings_repeated %ld\nreplies_not_shown %ld\n", f.repeatedReadings,
                f.lastNumber - f.firstNumber + 1 - f.distinctNumbers);
    std::printf(
        "faults_injected %ld (silences %ld with %ld frames unanswered, \"?\" %ld, "
        "noise %ld; reading requests %ld)\n",
        faults.silences + faults.rejections + faults.noisy, faults.silences, faults.unanswered,
        faults.rejections, faults.noisy, faults.readingRequests);
    std::printf("processor_time_s %.2f over %.0f s (%.2f %% of a core; limit %.0f %%)\n",
                cpuSeconds, wallSeconds, cpuPercent, kProcessorLimitPercent);
    std::printf("message_boxes %zu\n", boxes.texts.size());
    for (const auto& text : boxes.texts) std::printf("  message box: %s\n", text.c_str());
    for (const auto& text : f.problems) std::printf("  problem: %s\n", text.c_str());
    std::printf("dat_file %s\n", datPath.c_str());

    const bool ok = growth < kGrowthLimitKb && f.lost == 0 && f.changed == 0 && f.extra == 0 &&
                    f.due > 0 && !f.loggingStopped && f.repeatedReadings == 0 &&
                    f.otherReadings == 0 && f.pauseCycles == 0 && boxes.texts.empty() &&
                    cpuPercent < kProcessorLimitPercent;
    std::printf("soak %s\n", ok ? "passed" : "FAILED");
    std::fflush(stdout);
    sim.stop();
    if (argc <= 2 && ok) fs::remove_all(folder);
    // Quick exit: tearing the Qt program down at exit proves nothing here.
    std::_Exit(ok ? 0 : 1);
}
