// Serves one unit on a TCP port, raw bytes both ways: what a socket://HOST:PORT address
// reaches. One client at a time: one that connects while another is served is told so and
// closed; a client that leaves frees the unit for the next. A TCP port carries no line
// settings, so the unit takes whatever comes as sent at its own (--baud, --parity), and the
// frame log shows those.
#pragma once

#include <string>

#include "sim/app/requests.h"
#include "sim/model/served_unit.h"
#include "sim/model/sim_options.h"
#include "sim/net/listen_socket.h"

namespace sigcond::sim {

class ListenServer {
public:
    explicit ListenServer(ServedUnit& unit) : unit_(unit) {}
    ~ListenServer();
    ListenServer(const ListenServer&) = delete;
    ListenServer& operator=(const ListenServer&) = delete;

    // Starts listening; the outcome tells a bad address from a port that cannot be had.
    net::ListenOutcome start(const ListenAddress& address, std::string& error);
    // What it listens on, numeric, with the port taken: "127.0.0.1:40123".
    const std::string& boundAddress() const { return bound_; }

    // Serves until a stop is requested; a silence switch applies to the unit.
    void serve(Requests& requests);

private:
    void acceptWaiting();
    void readClient(double now);
    void sendDue(double now);
    void dropClient();

    ServedUnit& unit_;
    net::Socket listener_ = net::kNoSocket;
    net::Socket client_ = net::kNoSocket;
    std::string bound_;
    std::string outgoing_;  // reply characters due but not yet taken by the system
};

}  // namespace sigcond::sim
