// Runs sigcond-unit-sim as a child process for end-to-end tests: a private folder holds the
// link to its pseudo-terminal and its frame log, so tests may run side by side. The simulator
// can be stopped (the device disappears) and started again on the same link path. With
// "--units N" among the arguments it serves N units, each with its own link and log; `unit`
// (from 0) picks one. With "--listen HOST:PORT" it serves its unit on a TCP port: no link, and
// the device path is the address it listens on ("127.0.0.1:40123").
#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace sigcond::test {

// The simulator next to the test programs (build/bin), or $SIGCOND_SIM.
static inline std::string defaultSimulatorBinary() {
    if (const char* path = std::getenv("SIGCOND_SIM")) return path;
#ifdef SIGCOND_BIN_DIR
    return SIGCOND_BIN_DIR "/sigcond-unit-sim";
#else
    return "sigcond-unit-sim";
#endif
}

class SimProcess {
public:
    // `arguments` are the simulator's options without --link and --log, which SimProcess adds
    // (--link only without --listen).
    explicit SimProcess(std::vector<std::string> arguments,
                        std::string binary = defaultSimulatorBinary());
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator and waits for its device path. False (with error()) on failure.
    bool start();
    // Stops it (SIGTERM) and waits for it to end; its link disappears with it.
    void stop();
    // Starts it again with the same options, link and log.
    bool restart();
    bool running() const { return pid_ > 0; }
    // Sends a signal (SIGUSR1 switches the unit silent and back).
    void signal(int number);

    const std::string& devicePath(std::size_t unit = 0) const { return devicePaths_.at(unit); }
    std::size_t units() const { return units_; }
    // A stable path to the device (a symbolic link), the same across restarts.
    std::string linkPath(std::size_t unit = 0) const { return ownPath(linkPath_, unit); }
    std::string logPath(std::size_t unit = 0) const { return ownPath(logPath_, unit); }
    const std::string& error() const { return error_; }

    // Frames the simulator logged so far, e.g. "4800,E,7,1 U01".
    std::vector<std::string> frames(std::size_t unit = 0) const;
    // Forgets the frames logged so far by every unit (empties the log files).
    void clearFrames();

private:
    // The simulator numbers the links and logs of several units from 1.
    std::string ownPath(const std::string& path, std::size_t unit) const {
        return units_ == 1 ? path : path + "-" + std::to_string(unit + 1);
    }

    std::vector<std::string> arguments_;
    std::size_t units_ = 1;
    std::string binary_;
    std::string folder_;
    std::string linkPath_;
    std::string logPath_;
    std::vector<std::string> devicePaths_;
    std::string error_;
    pid_t pid_ = -1;
};

// Ends a child process: SIGTERM, up to 5 s for it to exit, then SIGKILL; pid becomes -1.
void stopChild(pid_t& pid);

}  // namespace sigcond::test
