#include "sim/pty/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace sigcond::sim {

namespace {

// Reply characters queued in a unit: while there are this many, nothing more is read from its
// client, so one that writes without reading cannot grow the queue without limit.
constexpr std::size_t kMaxQueued = 16 * 1024;

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int baudOf(speed_t speed) {
    struct Entry {
        speed_t speed;
        int baud;
    };
    static constexpr Entry kSpeeds[] = {
        {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},     {B150, 150},
        {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},   {B1800, 1800},
        {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200}, {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    };
    for (const auto& entry : kSpeeds) {
        if (entry.speed == speed) return entry.baud;
    }
    return 0;
}

}  // namespace

PtyServer::~PtyServer() {
    if (!linkPath_.empty()) {
        // Remove the link only while it still points at this device (a restarted simulator
        // may already have replaced it).
        char target[4096];
        const ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == devicePath_) {
            unlink(linkPath_.c_str());
        }
    }
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

bool PtyServer::start(const std::string& linkPath, std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error = "cannot name the pseudo-terminal";
        return false;
    }
    devicePath_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = "cannot open " + devicePath_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw until the client sets its own line: nothing echoed, nothing translated.
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    if (!linkPath.empty()) {
        struct stat info {};
        if (lstat(linkPath.c_str(), &info) == 0) {
            if (!S_ISLNK(info.st_mode)) {
                error = linkPath + " exists and is not a symbolic link";
                return false;
            }
            unlink(linkPath.c_str());
        }
        if (symlink(devicePath_.c_str(), linkPath.c_str()) != 0) {
            error = "cannot link " + linkPath + ": " + std::strerror(errno);
            return false;
        }
        linkPath_ = linkPath;
    }
    return true;
}

LineSettings PtyServer::clientLine() const {
    termios settings{};
    LineSettings line;
    if (tcgetattr(master_, &settings) != 0) return line;
    line.baud = baudOf(cfgetospeed(&settings));
    line.dataBits = 7;
    if (settings.c_cflag & CSTOPB) {
        line.parity = 'N';
        line.stopBits = 2;
    } else {
        line.parity = (settings.c_cflag & PARODD) ? 'O' : 'E';
        line.stopBits = 1;
    }
    return line;
}

void PtyServer::serve(const std::vector<PtyServer*>& servers, Requests& requests) {
    std::vector<pollfd> fds(servers.size() + 1);
    for (std::size_t n = 0; n < servers.size(); ++n) fds[n] = {servers[n]->master_, POLLIN, 0};
    fds.back() = {requests.wakeFd, POLLIN, 0};
    while (!requests.stop.load()) {
        const double now = steadySeconds();
        // Sleep until the next reply character of any unit is due (to the microsecond, so that
        // emulated wire time keeps the line's pace), or until a frame or a request comes in.
        std::optional<double> due;
        for (const PtyServer* server : servers) {
            if (const auto next = server->unit_.unit().nextOutputTime();
                next && (!due || *next < *due))
                due = next;
        }
        timespec timeout{};
        timespec* limit = nullptr;
        if (due) {
            const double wait = std::max(0.0, *due - now);
            timeout.tv_sec = static_cast<time_t>(wait);
            timeout.tv_nsec = static_cast<long>((wait - static_cast<double>(timeout.tv_sec)) * 1e9);
            limit = &timeout;
        }
        for (std::size_t n = 0; n < servers.size(); ++n) {
            const bool reading = servers[n]->unit_.unit().queuedOutput() < kMaxQueued;
            fds[n].events = reading ? POLLIN : 0;
        }
        for (pollfd& fd : fds) fd.revents = 0;
        const int ready = ppoll(fds.data(), fds.size(), limit, nullptr);
        if (ready < 0 && errno != EINTR) return;
        if (ready > 0 && (fds.back().revents & POLLIN)) {
            char wake[16];
            while (read(requests.wakeFd, wake, sizeof wake) > 0) {
            }
        }
        if (requests.stop.load()) return;
        if (requests.takeSilenceToggles() % 2 == 1) {
            for (PtyServer* server : servers) {
                bool& silent = server->unit_.unit().faults().silent;
                silent = !silent;
            }
        }
        for (std::size_t n = 0; n < servers.size(); ++n) {
            if (ready > 0 && (fds[n].revents & POLLIN)) servers[n]->readFrames(steadySeconds());
            servers[n]->writeDue(steadySeconds());
        }
    }
}

void PtyServer::readFrames(double now) {
    char buffer[512];
    for (int chunk = 0; chunk < 8 && unit_.unit().queuedOutput() < kMaxQueued; ++chunk) {
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) break;
        unit_.receive(std::string_view(buffer, static_cast<std::size_t>(n)), clientLine(), now);
    }
}

void PtyServer::writeDue(double now) {
    const std::string bytes = unit_.takeOutput(now);
    std::size_t written = 0;
    // Nobody reads them for a second: the characters are lost, as on a real line.
    for (int waits = 0; written < bytes.size() && waits < 10;) {
        const ssize_t n = write(master_, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd out{master_, POLLOUT, 0};
            poll(&out, 1, 100);
            ++waits;
        } else if (!(n < 0 && errno == EINTR)) {
            return;
        }
    }
}

}  // namespace sigcond::sim
