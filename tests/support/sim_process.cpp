#include "support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace sigcond::test {

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 5000;

}  // namespace

SimProcess::SimProcess(std::vector<std::string> arguments, std::string binary)
    : arguments_(std::move(arguments)), binary_(std::move(binary)) {
    for (std::size_t i = 0; i + 1 < arguments_.size(); ++i) {
        if (arguments_[i] == "--units") units_ = std::stoul(arguments_[i + 1]);
    }
    char pattern[] = "/tmp/sigcond-sim-XXXXXX";
    if (mkdtemp(pattern)) {
        folder_ = pattern;
        linkPath_ = folder_ + "/ttySIM";
        logPath_ = folder_ + "/frames.log";
    } else {
        error_ = std::string("cannot make a folder: ") + std::strerror(errno);
    }
}

SimProcess::~SimProcess() {
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool SimProcess::start() {
    if (folder_.empty()) return false;
    if (running()) return true;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = {binary_};
    argv.insert(argv.end(), arguments_.begin(), arguments_.end());
    argv.insert(argv.end(), {"--log", logPath_});
    if (std::find(argv.begin(), argv.end(), "--listen") == argv.end())
        argv.insert(argv.end(), {"--link", linkPath_});
    std::vector<char*> pointers;
    for (auto& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("fork: ") + std::strerror(errno);
        close(out[0]);
        close(out[1]);
        return false;
    }
    if (pid == 0) {
        // The simulator ends with the test, even one killed by a timeout: a simulator left
        // running would hold the test runner's output open.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() == 1) _exit(127);
        dup2(out[1], STDOUT_FILENO);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    close(out[1]);
    pid_ = pid;

    // The first lines of its output are the device paths, one per unit.
    std::string line;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    while (static_cast<std::size_t>(std::count(line.begin(), line.end(), '\n')) < units_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd wait{out[0], POLLIN, 0};
        if (left <= 0 || poll(&wait, 1, static_cast<int>(left)) <= 0) break;
        char buffer[256];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    devicePaths_.clear();
    for (std::size_t start = 0, end; (end = line.find('\n', start)) != std::string::npos;
         start = end + 1) {
        devicePaths_.push_back(line.substr(start, end - start));
    }
    if (devicePaths_.size() < units_) {
        error_ = binary_ + " did not report its devices";
        stop();
        return false;
    }
    return true;
}

void stopChild(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < kStopTimeoutMs; waited += 10) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    pid = -1;
}

void SimProcess::stop() { stopChild(pid_); }

bool SimProcess::restart() {
    stop();
    return start();
}

void SimProcess::signal(int number) {
    if (pid_ > 0) kill(pid_, number);
}

std::vector<std::string> SimProcess::frames(std::size_t unit) const {
    std::vector<std::string> lines;
    std::ifstream log(logPath(unit));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

void SimProcess::clearFrames() {
    for (std::size_t unit = 0; unit < units_; ++unit) std::ofstream(logPath(unit), std::ios::trunc);
}

}  // namespace sigcond::test
