#include "sim/net/listen_server.h"

#include <algorithm>
#include <chrono>

namespace sigcond::sim {

namespace {

// The longest sleep of the serve loop: a stop request is seen within it.
constexpr double kTickSeconds = 0.1;
// Reply characters queued in the unit and not yet sent: while there are this many, nothing more
// is read from the client, so one that sends without reading holds up only itself.
constexpr std::size_t kMaxQueued = 16 * 1024;
constexpr std::size_t kReadChunk = 512;
constexpr int kChunksPerRound = 8;
constexpr char kBusyText[] = "sigcond-unit-sim: the unit is in use by another client\r\n";

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ListenServer::~ListenServer() {
    net::closeSocket(client_);
    net::closeSocket(listener_);
}

net::ListenOutcome ListenServer::start(const ListenAddress& address, std::string& error) {
    if (!net::startSockets(error)) return net::ListenOutcome::Failed;
    std::string reason;
    const net::ListenOutcome outcome =
        net::listenOn(address.host, address.port, listener_, bound_, reason);
    if (outcome != net::ListenOutcome::Listening) {
        const std::string shown =
            address.host.find(':') == std::string::npos ? address.host : "[" + address.host + "]";
        error = "cannot listen on " + shown + ":" + std::to_string(address.port) + ": " + reason;
    }
    return outcome;
}

void ListenServer::serve(Requests& requests) {
    UnitModel& unit = unit_.unit();
    while (!requests.stop.load()) {
        if (requests.takeSilenceToggles() % 2 == 1) unit.faults().silent = !unit.faults().silent;
        const double now = steadySeconds();
        sendDue(now);
        std::vector<net::Watch> watches{{listener_}};
        const bool reading =
            client_ != net::kNoSocket && unit.queuedOutput() + outgoing_.size() < kMaxQueued;
        if (reading) watches.push_back({client_});
        if (client_ != net::kNoSocket && !outgoing_.empty()) watches.push_back({client_, true});
        double wait = kTickSeconds;
        if (const auto due = unit.nextOutputTime()) wait = std::clamp(*due - now, 0.0, wait);
        net::waitSockets(watches, wait);
        if (watches[0].ready) acceptWaiting();
        if (reading && watches[1].ready) readClient(steadySeconds());
    }
}

void ListenServer::acceptWaiting() {
    const net::Socket accepted = net::acceptClient(listener_);
    if (accepted == net::kNoSocket) return;
    if (client_ != net::kNoSocket) {
        net::sendSome(accepted, kBusyText, sizeof kBusyText - 1);
        net::closeSocket(accepted);
        return;
    }
    client_ = accepted;
}

void ListenServer::readClient(double now) {
    char buffer[kReadChunk];
    UnitModel& unit = unit_.unit();
    for (int chunk = 0; chunk < kChunksPerRound; ++chunk) {
        if (unit.queuedOutput() + outgoing_.size() >= kMaxQueued) return;
        const long n = net::receiveSome(client_, buffer, sizeof buffer);
        if (n == 0) {
            dropClient();
            return;
        }
        if (n < 0) return;
        unit_.receive(std::string_view(buffer, static_cast<std::size_t>(n)), unit.faults().answerAt,
                      now);
    }
}

void ListenServer::sendDue(double now) {
    if (client_ == net::kNoSocket) return;
    outgoing_ += unit_.takeOutput(now);
    if (outgoing_.empty()) return;
    const long sent = net::sendSome(client_, outgoing_.data(), outgoing_.size());
    if (sent < 0) {
        dropClient();
        return;
    }
    outgoing_.erase(0, static_cast<std::size_t>(sent));
}

void ListenServer::dropClient() {
    net::closeSocket(client_);
    client_ = net::kNoSocket;
    outgoing_.clear();
    unit_.dropLine();
}

}  // namespace sigcond::sim
