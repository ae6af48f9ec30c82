// The few socket calls the listening simulator makes, behind one seam: BSD sockets on POSIX
// (listen_socket_posix.cpp), Winsock on Windows (listen_socket_win.cpp). Every socket is
// non-blocking; only waitSockets waits, and never longer than it is told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sigcond::sim::net {

using Socket = std::intptr_t;  // a descriptor, or a Winsock SOCKET
inline constexpr Socket kNoSocket = -1;

enum class ListenOutcome {
    Listening,
    BadAddress,  // the host is no address this computer has, or no name that resolves
    Failed,      // the port cannot be had (in use, not allowed, ...)
};

// Starts the sockets library where there is one to start (Winsock). False with `error`.
bool startSockets(std::string& error);

// A listening socket on `host` (a name or a numeric address, IPv6 without brackets) and `port`
// (0: any free port). `bound` gets what it listens on, numeric: "ADDRESS:PORT", or
// "[ADDRESS]:PORT" for IPv6.
ListenOutcome listenOn(const std::string& host, std::uint16_t port, Socket& listener,
                       std::string& bound, std::string& error);

// A client waiting on `listener`, non-blocking, with Nagle off and keepalive probes (a peer
// that vanished without closing frees the unit within seconds); kNoSocket when none waits.
Socket acceptClient(Socket listener);

struct Watch {
    Socket socket = kNoSocket;
    bool write = false;  // wait until it takes data, rather than until it has some
    bool ready = false;  // set by waitSockets
};
// Waits up to `seconds` until one of `watches` is ready (a closed or failed connection counts
// as readable), and marks those that are.
void waitSockets(std::vector<Watch>& watches, double seconds);

// Bytes read (> 0); 0 when the peer closed or the connection failed; -1 when nothing is there.
long receiveSome(Socket socket, char* buffer, std::size_t size);
// Bytes the system took (>= 0, 0 when its buffer is full); -1 when the connection failed.
long sendSome(Socket socket, const char* data, std::size_t size);

void closeSocket(Socket socket);

}  // namespace sigcond::sim::net
