// Link figures through the real Qt serial-port adapter on a pseudo-terminal:
//   turnaround_us            median time from the reply's carriage return reaching the port to
//                            sendCommand returning
//   silent_wait_cpu_percent  processor time used while waiting 2 s on a silent unit, as a
//                            share of one core
//   read_vs_line_time        a full configuration read of a "TC" unit from sigcond-unit-sim
//                            with wire-time emulation at 9600 baud, against the sum of the
//                            character times of its frames and replies
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench_clock.h"
#include "link/command_set.h"
#include "link/send_command.h"
#include "program.h"
#include "qt/qt_clock.h"
#include "qt/qt_serial_port.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

namespace {

using namespace sigcond;
using bench::cpuSeconds;
using bench::secondsSince;
using bench::Steady;

// The far end of the line, in a thread of its own: answers each frame with its echo and two
// data characters, and notes the moment the carriage return has been handed to the line.
class PtyPeer {
public:
    PtyPeer() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master_);
        unlockpt(master_);
        device_ = ptsname(master_);
        slave_ = open(device_.c_str(), O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        pipe(stopPipe_);
        thread_ = std::thread([this] { serve(); });
    }
    ~PtyPeer() {
        const char stop = 'q';
        (void)!write(stopPipe_[1], &stop, 1);
        thread_.join();
        close(slave_);
        close(master_);
    }
    const std::string& device() const { return device_; }
    void setSilent(bool silent) { silent_ = silent; }
    Steady::time_point lastCarriageReturn() const { return lastCr_.load(); }

private:
    void serve() {
        std::string frame;
        while (true) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) return;
            char buffer[256];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] != '\r') {
                    frame += buffer[i];
                    continue;
                }
                if (!silent_ && frame.size() >= 4) {
                    const std::string body = frame.substr(1, 3) + "29";
                    (void)!write(master_, body.data(), body.size());
                    lastCr_ = Steady::now();  // just before: the write is part of the figure
                    (void)!write(master_, "\r", 1);
                }
                frame.clear();
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::string device_;
    std::atomic<bool> silent_{false};
    std::atomic<Steady::time_point> lastCr_{};
    std::thread thread_;
};

struct Bench {
    QtSerialPort port;
    SystemClock clock;
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    bool open(const std::string& device, const std::string& settings) {
        setenv("SIGCOND_COM1", device.c_str(), 1);
        fillLinkTables(p);
        port.setPortNumber(1);
        port.setLineSettings(settings);
        if (!port.open()) {
            std::fprintf(stderr, "cannot open %s: %s\n", device.c_str(), port.errorText().c_str());
            return false;
        }
        return true;
    }
};

bool measureTurnaroundAndSilentWait() {
    PtyPeer peer;
    Bench bench;
    if (!bench.open(peer.device(), "9600,O,7,1")) return false;

    std::vector<double> turnarounds;
    for (int i = 0; i < 300; ++i) {
        sendCommand(bench.p, "R01", 2);
        const auto returned = Steady::now();
        if (bench.p.link.replyText != "29") {
            std::fprintf(stderr, "unexpected reply \"%s\"\n", bench.p.link.replyText.c_str());
            return false;
        }
        turnarounds.push_back(
            std::chrono::duration<double, std::micro>(returned - peer.lastCarriageReturn())
                .count());
    }
    std::nth_element(turnarounds.begin(), turnarounds.begin() + turnarounds.size() / 2,
                     turnarounds.end());
    std::printf("turnaround_us %.1f us\n", turnarounds[turnarounds.size() / 2]);

    peer.setSilent(true);
    const auto start = Steady::now();
    const double cpuStart = cpuSeconds();
    sendCommand(bench.p, "R01", 2);
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = secondsSince(start);
    std::printf("silent_wait_cpu_percent %.2f %%\n", 100.0 * cpu / wall);
    return true;
}

bool measureReadAgainstLineTime() {
    test::SimProcess sim({"--type", "TC", "--wire-time"});
    if (!sim.start()) {
        std::fprintf(stderr, "%s\n", sim.error().c_str());
        return false;
    }
    Bench bench;
    if (!bench.open(sim.linkPath(), "9600,O,7,1")) return false;
    // The configuration read of a "TC" unit: frames "*" + command + CR, replies echo + data + CR.
    const std::vector<std::pair<std::string, int>> reads = {{"R01", 2},  {"R02", 2},  {"R04", 2},
                                                            {"R3C", 12}, {"R3D", 12}, {"R05", 6},
                                                            {"R06", 6},  {"R03", 2}};
    int characters = 0;
    for (const auto& [command, width] : reads) characters += 5 + 3 + width + 1;
    const double lineSeconds = characters * 10.0 / 9600.0;

    std::vector<double> ratios;
    for (int round = 0; round < 10; ++round) {
        const auto start = Steady::now();
        for (const auto& [command, width] : reads) {
            bench.p.link.longTimeoutOnce = width == 12;
            sendCommand(bench.p, command, width);
            if (bench.p.link.linkError != 0) {
                std::fprintf(stderr, "the read failed at %s\n", command.c_str());
                return false;
            }
        }
        ratios.push_back(secondsSince(start) / lineSeconds);
    }
    std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
    std::printf("read_vs_line_time %.3f ratio\n", ratios[ratios.size() / 2]);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool ok = measureTurnaroundAndSilentWait() && measureReadAgainstLineTime();
    return ok ? 0 : 1;
}
