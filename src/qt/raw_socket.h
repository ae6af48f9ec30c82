// The few socket calls the network port makes beside Qt's: name lookup, a connection made
// without an event loop (handed to QTcpSocket once it is made), and the TCP options Qt has no
// names for. One implementation per system: raw_socket_posix.cpp and raw_socket_win.cpp, beside
// raw_socket.cpp, which both share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct sockaddr;

namespace sigcond::raw_socket {

// A socket as the system knows it: a file descriptor, or a Windows SOCKET (a handle, hence as
// wide as a pointer). It is what QAbstractSocket::socketDescriptor() gives and
// setSocketDescriptor() takes.
using Descriptor = std::intptr_t;
// No socket: -1, which INVALID_SOCKET is too.
constexpr Descriptor kNone = -1;

// Each TCP address `host` stands for goes to `found`; `numeric` takes the host only as an
// address text ("10.0.0.7", "fe80::1%2"), never asking a name server. Blocks while the name
// server answers. "" when the lookup worked (it may still have found nothing), else why not.
using AddressSink = std::function<void(const sockaddr* address, int size)>;
std::string lookUp(const std::string& host, std::uint16_t port, bool numeric,
                   const AddressSink& found);

// Per system, for lookUp: whether sockets can be used (Winsock started), and the text of a
// failed lookup's status.
bool socketsReady();
std::string lookupFailure(int status);

// A non-blocking socket connecting to `address`; kNone when the attempt failed at once.
Descriptor startConnecting(const sockaddr* address, int size);

enum class Connecting { Pending, Connected, Failed };
// Waits at most `timeoutMs` for the connection under way on `socket` to be made or refused.
Connecting awaitConnected(Descriptor socket, int timeoutMs);

void close(Descriptor socket);

// A dead peer ends the connection: keepalive probes after `idleSeconds` of quiet, every
// `intervalSeconds`, `count` unanswered end it (keepalive itself is switched on through Qt),
// and data the peer has not acknowledged for `unacknowledgedMs` ends it too. What arrives is
// acknowledged at once where the system keeps that setting. Options the system lacks are
// left out; the connection works without them.
void tuneConnection(Descriptor socket, int idleSeconds, int intervalSeconds, int count,
                    unsigned unacknowledgedMs);

// After every read: what came is acknowledged at once, not held back to ride on our next
// frame, where the system drops that setting by itself.
void acknowledgeReceived(Descriptor socket);

}  // namespace sigcond::raw_socket
