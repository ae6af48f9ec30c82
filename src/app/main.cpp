// sigcond: the signal conditioner set-up program.
//
// One option, for measuring the program rather than using it:
//   sigcond --startup-report
// runs the program as usual until its first window has been painted, then prints
//   startup_ms_from_process_start  from the moment the kernel started the process
//                                  (/proc/self/stat starttime, 10 ms steps; on Windows the
//                                  process's creation time), so the loading of the shared
//                                  libraries counts
//   startup_ms_from_main           from a steady clock read at the top of main
//   startup_rss_kb                 resident memory (VmRSS) at that moment
// and ends.
#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <time.h>
#include <unistd.h>
#endif

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/resident_memory.h"
#include "qt/application.h"

namespace {

using Steady = std::chrono::steady_clock;

#ifdef _WIN32
double fileTimeSeconds(const FILETIME& t) {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7;  // 100 ns steps
}

// Now, on the clock the system dates processes with.
double bootSeconds() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return fileTimeSeconds(now);
}

// When this process was created, on the same clock; negative if unknown.
double processStartSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1.0;
    return fileTimeSeconds(created);
}

long residentKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}
#else
// Seconds since boot, on the clock the kernel dates processes with.
double bootSeconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Seconds since boot at which this process started; negative if unknown.
double processStartSeconds() {
    std::ifstream in("/proc/self/stat");
    std::string stat;
    std::getline(in, stat);
    // The command name in field 2 may hold blanks: count fields after its closing parenthesis.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int n = 3; n <= 22 && fields >> field; ++n) {
        if (n == 22) return std::strtod(field.c_str(), nullptr) / sysconf(_SC_CLK_TCK);
    }
    return -1.0;
}

long residentKb() { return sigcond::residentMemoryKb(); }
#endif

// Waits for the first paint of a shown window, lets that paint finish, prints the figures and
// ends the program.
class StartupReport : public QObject {
public:
    explicit StartupReport(Steady::time_point mainStarted) : mainStarted_(mainStarted) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->isVisible()) {
            seen_ = true;
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

private:
    void report() {
        const double fromMain =
            std::chrono::duration<double, std::milli>(Steady::now() - mainStarted_).count();
        const double started = processStartSeconds();
        const double fromProcess = started < 0 ? -1.0 : (bootSeconds() - started) * 1000.0;
        std::printf("startup_ms_from_process_start %.0f\n", fromProcess);
        std::printf("startup_ms_from_main %.1f\n", fromMain);
        std::printf("startup_rss_kb %ld\n", residentKb());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    Steady::time_point mainStarted_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const auto mainStarted = Steady::now();
    const bool startupReport = argc > 1 && std::strcmp(argv[1], "--startup-report") == 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sigcond"));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("net.sigcond.SignalConditioner"));
    // The program ends when the operator ends it, not when a screen is hidden between steps.
    QApplication::setQuitOnLastWindowClosed(false);
    StartupReport report(mainStarted);
    if (startupReport) app.installEventFilter(&report);
    sigcond::qt::Application program;
    return program.run();
}
