#include "support/ser2net_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/sim_process.h"

namespace sigcond::test {

namespace {

constexpr int kStartTimeoutMs = 5000;

std::string ser2netBinary() {
    if (const char* path = std::getenv("SIGCOND_SER2NET")) return path;
    return std::filesystem::exists("/usr/sbin/ser2net") ? "/usr/sbin/ser2net" : "ser2net";
}

// True when a socket listens on 127.0.0.1:port (read from the kernel's table, so that no test
// connection takes the server's one connection).
bool listening(int port) {
    char local[32];
    std::snprintf(local, sizeof local, "0100007F:%04X", port);
    std::ifstream table("/proc/net/tcp");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, address, remote, state;
        fields >> slot >> address >> remote >> state;
        if (address == local && state == "0A") return true;
    }
    return false;
}

}  // namespace

int freeLocalPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

Ser2netProcess::Ser2netProcess(std::string device, std::string plainSettings,
                               std::string plainDevice)
    : Ser2netProcess(std::vector<std::string>{device}) {
    plainSettings_ = std::move(plainSettings);
    plainDevice_ = plainDevice.empty() ? device : std::move(plainDevice);
    plainPort_ = freeLocalPort();
    while (plainPort_ != 0 && std::find(ports_.begin(), ports_.end(), plainPort_) != ports_.end()) {
        plainPort_ = freeLocalPort();
    }
}

Ser2netProcess::Ser2netProcess(std::vector<std::string> devices) : devices_(std::move(devices)) {
    char pattern[] = "/tmp/sigcond-ser2net-XXXXXX";
    if (mkdtemp(pattern)) folder_ = pattern;
    // Each port asked for is free; none of them is handed out twice.
    while (ports_.size() < devices_.size()) {
        const int port = freeLocalPort();
        if (port == 0 || std::find(ports_.begin(), ports_.end(), port) == ports_.end()) {
            ports_.push_back(port);  // 0: no port at all, and start() says so
        }
    }
}

Ser2netProcess::~Ser2netProcess() {
    stop();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string Ser2netProcess::rfc2217Url(std::size_t device) const {
    return "rfc2217://127.0.0.1:" + std::to_string(ports_.at(device));
}

std::string Ser2netProcess::socketUrl() const {
    return "socket://127.0.0.1:" + std::to_string(plainPort_);
}

bool Ser2netProcess::start() {
    if (pid_ > 0) return true;
    const std::string config = folder_ + "/ser2net.yaml";
    std::ofstream yaml(config);
    for (std::size_t n = 0; n < devices_.size(); ++n) {
        yaml << "connection: &line" << n << "\n"
             << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << ports_[n] << "\n"
             << "  connector: serialdev," << devices_[n] << ",115200n81,local\n";
    }
    if (plainPort_ != 0) {
        yaml << "connection: &plain\n"
             << "  accepter: tcp,127.0.0.1," << plainPort_ << "\n"
             << "  connector: serialdev," << plainDevice_ << "," << plainSettings_ << ",local\n";
    }
    yaml.close();
    const std::string binary = ser2netBinary();
    const std::string pidFile = folder_ + "/ser2net.pid";
    const std::string log = folder_ + "/ser2net.log";
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() == 1) _exit(127);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        // -d: in the foreground; -u: no lock files under /var/lock.
        execlp(binary.c_str(), binary.c_str(), "-d", "-u", "-c", config.c_str(), "-P",
               pidFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    pid_ = pid;
    for (int waited = 0; waited < kStartTimeoutMs; waited += 20) {
        const bool all = std::all_of(ports_.begin(), ports_.end(), listening) &&
                         (plainPort_ == 0 || listening(plainPort_));
        if (all) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    error_ = binary + " did not start listening: " + text.str();
    stop();
    return false;
}

void Ser2netProcess::stop() { stopChild(pid_); }

bool Ser2netProcess::restart() {
    stop();
    return start();
}

}  // namespace sigcond::test
