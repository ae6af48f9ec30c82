// The network port's own socket calls on Linux.
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "qt/raw_socket.h"

namespace sigcond::raw_socket {

bool socketsReady() { return true; }

std::string lookupFailure(int status) { return gai_strerror(status); }

Descriptor startConnecting(const sockaddr* address, int size) {
    const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return kNone;
    if (::connect(fd, address, static_cast<socklen_t>(size)) != 0 && errno != EINPROGRESS) {
        ::close(fd);
        return kNone;
    }
    return fd;
}

Connecting awaitConnected(Descriptor socket, int timeoutMs) {
    const int fd = static_cast<int>(socket);
    pollfd watch{fd, POLLOUT, 0};
    if (poll(&watch, 1, std::max(timeoutMs, 0)) <= 0) return Connecting::Pending;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        return Connecting::Failed;
    }
    return Connecting::Connected;
}

void close(Descriptor socket) {
    if (socket != kNone) ::close(static_cast<int>(socket));
}

void tuneConnection(Descriptor socket, int idleSeconds, int intervalSeconds, int count,
                    unsigned unacknowledgedMs) {
    const int fd = static_cast<int>(socket);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledgedMs, sizeof unacknowledgedMs);
}

// Linux leaves quick acknowledgement by itself (after its delayed-acknowledgement timer runs
// out, or once data flows one way), so it is asked for again after every read.
void acknowledgeReceived(Descriptor socket) {
    const int on = 1;
    setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

}  // namespace sigcond::raw_socket
