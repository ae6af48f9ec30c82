#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sim/net/listen_socket.h"

namespace sigcond::sim::net {

namespace {

void setNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

void setOption(int fd, int level, int name, int value) {
    setsockopt(fd, level, name, &value, sizeof value);
}

}  // namespace

bool startSockets(std::string&) { return true; }

ListenOutcome listenOn(const std::string& host, std::uint16_t port, Socket& listener,
                       std::string& bound, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int failure = getaddrinfo(host.c_str(), service.c_str(), &hints, &found)) {
        error = gai_strerror(failure);
        return ListenOutcome::BadAddress;
    }
    ListenOutcome outcome = ListenOutcome::Failed;
    for (const addrinfo* address = found; address; address = address->ai_next) {
        const int fd =
            socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
        if (fd < 0) continue;
        setOption(fd, SOL_SOCKET, SO_REUSEADDR, 1);  // a restart need not wait for TIME_WAIT
        if (bind(fd, address->ai_addr, address->ai_addrlen) != 0 || listen(fd, 4) != 0) {
            error = errno == EADDRINUSE      ? "the port is in use"
                    : errno == EADDRNOTAVAIL ? "the address is none of this computer's"
                                             : std::strerror(errno);
            outcome = errno == EADDRNOTAVAIL ? ListenOutcome::BadAddress : ListenOutcome::Failed;
            close(fd);
            continue;
        }
        setNonBlocking(fd);
        sockaddr_storage own{};
        socklen_t length = sizeof own;
        char numeric[NI_MAXHOST] = "", number[NI_MAXSERV] = "";
        getsockname(fd, reinterpret_cast<sockaddr*>(&own), &length);
        getnameinfo(reinterpret_cast<sockaddr*>(&own), length, numeric, sizeof numeric, number,
                    sizeof number, NI_NUMERICHOST | NI_NUMERICSERV);
        bound = own.ss_family == AF_INET6 ? "[" + std::string(numeric) + "]:" + number
                                          : std::string(numeric) + ":" + number;
        listener = fd;
        outcome = ListenOutcome::Listening;
        break;
    }
    freeaddrinfo(found);
    return outcome;
}

Socket acceptClient(Socket listener) {
    const int fd =
        accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return kNoSocket;
    setOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
    setOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    setOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, 5);
    setOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, 2);
    setOption(fd, IPPROTO_TCP, TCP_KEEPCNT, 3);
    setOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, 10000);  // unacknowledged replies: 10 s
    return fd;
}

void waitSockets(std::vector<Watch>& watches, double seconds) {
    std::vector<pollfd> fds;
    for (Watch& watch : watches) {
        fds.push_back({static_cast<int>(watch.socket),
                       static_cast<short>(watch.write ? POLLOUT : POLLIN), 0});
        watch.ready = false;
    }
    // To the microsecond, so that emulated wire time keeps the line's pace.
    const double wait = std::max(0.0, seconds);
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(wait);
    timeout.tv_nsec = static_cast<long>((wait - static_cast<double>(timeout.tv_sec)) * 1e9);
    if (ppoll(fds.data(), fds.size(), &timeout, nullptr) <= 0) return;
    for (std::size_t n = 0; n < watches.size(); ++n) watches[n].ready = fds[n].revents != 0;
}

long receiveSome(Socket socket, char* buffer, std::size_t size) {
    const ssize_t n = recv(static_cast<int>(socket), buffer, size, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return -1;
    return n < 0 ? 0 : static_cast<long>(n);
}

long sendSome(Socket socket, const char* data, std::size_t size) {
    const ssize_t n = send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
    return n < 0 ? -1 : static_cast<long>(n);
}

void closeSocket(Socket socket) {
    if (socket != kNoSocket) close(static_cast<int>(socket));
}

}  // namespace sigcond::sim::net
