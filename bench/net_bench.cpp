// Network figures through Debian's ser2net in front of sigcond-unit-sim, each measured side by
// side in one run, so that the load of the shared machine weighs on both halves alike:
//   net_exchange_vs_bare   median time of the program's exchange ("R01" through sendCommand and
//                          the rfc2217:// adapter) over the median time of a bare TCP client's
//                          exchange through the same ser2net (its plain port), interleaved
//   net_live_cpu_vs_local  processor time of live reading ("X01" every 450 ms) through ser2net
//                          over the same live reading on a simulator's pseudo-terminal directly,
//                          interleaved cycle by cycle
//   net_send_16_vs_slowest sigcond-cli send --verify to 16 units behind one ser2net, each at
//                          line settings of its own (every setting of the search), over the time
//                          of the slowest of them alone; best of 3 each, in turns
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_clock.h"
#include "link/command_set.h"
#include "link/line_search.h"
#include "link/send_command.h"
#include "program.h"
#include "qt/com_port.h"
#include "qt/qt_clock.h"
#include "support/scripted_dialogs.h"
#include "support/ser2net_process.h"
#include "support/sim_process.h"

namespace {

using namespace sigcond;
using bench::cpuSeconds;
using bench::secondsSince;
using bench::Steady;

constexpr int kExchanges = 200;
constexpr int kLiveCycles = 16;
constexpr int kUnits = 16;
constexpr int kSendRounds = 3;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The program's link on "Com n", through the dispatching adapter, unit found by the search.
struct Link {
    ComPort port;
    SystemClock clock;
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    bool connect(int number, const std::string& target) {
        setenv(("SIGCOND_COM" + std::to_string(number)).c_str(), target.c_str(), 1);
        fillLinkTables(p);
        p.link.portNumber = number;
        if (!connectToUnit(p)) {
            std::fprintf(stderr, "no unit on %s: %s\n", target.c_str(), port.errorText().c_str());
            return false;
        }
        return true;
    }
};

// A client with nothing but a socket: writes the frame, reads to the carriage return.
class BareClient {
public:
    explicit BareClient(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int on = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~BareClient() { close(fd_); }
    bool exchange(const std::string& frame, std::string& reply) {
        reply.clear();
        if (!connected_ || send(fd_, frame.data(), frame.size(), MSG_NOSIGNAL) < 0) return false;
        while (reply.find('\r') == std::string::npos) {
            pollfd wait{fd_, POLLIN, 0};
            if (poll(&wait, 1, 2000) <= 0) return false;
            char buffer[256];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            reply.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

// Seconds `sigcond-cli send PORTS FILE --verify` took; negative when it failed.
double timedSend(const std::string& ports, const std::string& file) {
    const std::string line = std::string(SIGCOND_BIN_DIR) + "/sigcond-cli send " + ports + " " +
                             file + " --verify >/dev/null 2>&1";
    const auto start = Steady::now();
    const int status = std::system(line.c_str());
    const double seconds = secondsSince(start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// 16 units of one simulator, the line settings of the search cycled over them, each on a Telnet
// port of one ser2net: all at once against each alone, in turns; best of the rounds for each.
bool sendToSixteen() {
    std::vector<std::string> arguments = {"--units",    std::to_string(kUnits),
                                          "--baud",     "9600,19200,4800,2400,1200",
                                          "--parity",   "O,E,N",
                                          "--register", "3C=500000100000",
                                          "--register", "3D=5186A01003E8"};
    test::SimProcess units(arguments);
    if (!units.start()) {
        std::fprintf(stderr, "simulator: %s\n", units.error().c_str());
        return false;
    }
    std::vector<std::string> devices;
    for (int n = 0; n < kUnits; ++n) devices.push_back(units.linkPath(static_cast<std::size_t>(n)));
    test::Ser2netProcess server(devices);
    if (!server.start()) {
        std::fprintf(stderr, "ser2net: %s\n", server.error().c_str());
        return false;
    }
    char folder[] = "/tmp/sigcond-net-bench-XXXXXX";
    if (!mkdtemp(folder)) return false;
    const std::string file = std::string(folder) + "/unit.CFG";
    const std::string read = std::string(SIGCOND_BIN_DIR) + "/sigcond-cli read " +
                             server.rfc2217Url(0) + " --save " + file + " >/dev/null 2>&1";
    std::string all;
    for (int n = 0; n < kUnits; ++n) {
        all += (n == 0 ? "" : ",") + server.rfc2217Url(static_cast<std::size_t>(n));
    }
    double together = 1e9;
    std::vector<double> alone(kUnits, 1e9);
    bool ok = std::system(read.c_str()) == 0;
    for (int round = 0; ok && round < kSendRounds; ++round) {
        const double s = timedSend(all, file);
        ok = s >= 0;
        together = std::min(together, s);
        for (int n = 0; ok && n < kUnits; ++n) {
            const double one = timedSend(server.rfc2217Url(static_cast<std::size_t>(n)), file);
            ok = one >= 0;
            alone[static_cast<std::size_t>(n)] = std::min(alone[static_cast<std::size_t>(n)], one);
        }
    }
    std::filesystem::remove_all(folder);
    if (!ok) {
        std::fprintf(stderr, "a send through ser2net failed\n");
        return false;
    }
    const auto slowest = std::max_element(alone.begin(), alone.end());
    std::printf("net_send_16_vs_slowest %.3f x\n", together / *slowest);
    std::printf("net_send_16_s %.2f s\n", together);
    std::printf("net_send_slowest_s %.2f s\n", *slowest);
    // The slowest unit's line settings, as its last frame arrived.
    const auto frames = units.frames(static_cast<std::size_t>(slowest - alone.begin()));
    const std::string last = frames.empty() ? "?" : frames.back();
    std::printf("net_send_slowest_line %s\n", last.substr(0, last.find(' ')).c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::SimProcess behind({"--type", "TC", "--reading", "21.5"});
    test::SimProcess beside({"--type", "TC", "--reading", "21.5"});
    // The local live reading's unit has a pseudo-terminal of its own: ser2net may hold the
    // plain port's device open (and read its replies) for a while after the client has gone.
    test::SimProcess direct({"--type", "TC", "--reading", "21.5"});
    if (!behind.start() || !beside.start() || !direct.start()) {
        std::fprintf(stderr, "simulator: %s%s%s\n", behind.error().c_str(), beside.error().c_str(),
                     direct.error().c_str());
        return 1;
    }
    test::Ser2netProcess server(behind.linkPath(), "9600o71", beside.linkPath());
    if (!server.start()) {
        std::fprintf(stderr, "ser2net: %s\n", server.error().c_str());
        return 1;
    }

    // The exchange: the program and the bare client in turns.
    std::vector<double> program, bare;
    {
        Link network;
        if (!network.connect(1, server.rfc2217Url())) return 1;
        BareClient client(server.socketPort());
        std::string reply;
        for (int i = 0; i < kExchanges; ++i) {
            auto start = Steady::now();
            sendCommand(network.p, "R01", 2);
            program.push_back(secondsSince(start));
            if (network.p.link.linkError != 0) {
                std::fprintf(stderr, "the program's exchange failed\n");
                return 1;
            }
            start = Steady::now();
            if (!client.exchange("*R01\r", reply)) {
                std::fprintf(stderr, "the bare client's exchange failed\n");
                return 1;
            }
            bare.push_back(secondsSince(start));
        }
    }
    const double programMs = median(program) * 1000, bareMs = median(bare) * 1000;
    std::printf("net_exchange_vs_bare %.3f x\n", programMs / bareMs);
    std::printf("net_exchange_ms %.2f ms\n", programMs);
    std::printf("bare_exchange_ms %.2f ms\n", bareMs);

    // Live reading: one cycle through the server, one on the pseudo-terminal, every 450 ms.
    Link network, local;
    if (!network.connect(1, server.rfc2217Url()) || !local.connect(2, direct.linkPath())) return 1;
    double networkCpu = 0, localCpu = 0;
    auto next = Steady::now();
    for (int cycle = 0; cycle < kLiveCycles; ++cycle) {
        for (Link* link : {&network, &local}) {
            const double before = cpuSeconds();
            runStep(link->p, liveReadingStep());
            (link == &network ? networkCpu : localCpu) += cpuSeconds() - before;
            if (link->p.link.replyText.empty()) {
                std::fprintf(stderr, "a live reading went unanswered\n");
                return 1;
            }
        }
        next += std::chrono::milliseconds(450);
        std::this_thread::sleep_until(next);
    }
    std::printf("net_live_cpu_vs_local %.2f x\n", networkCpu / localCpu);
    std::printf("net_live_cpu_percent %.3f %%\n", 100.0 * networkCpu / (kLiveCycles * 0.45));
    std::printf("local_live_cpu_percent %.3f %%\n", 100.0 * localCpu / (kLiveCycles * 0.45));
    return sendToSixteen() ? 0 : 1;
}
