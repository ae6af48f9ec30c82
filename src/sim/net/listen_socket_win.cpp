// winsock2.h first: the others build on it.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>
// clang-format on

#include <algorithm>

#include "sim/net/listen_socket.h"

namespace sigcond::sim::net {

namespace {

SOCKET handle(Socket socket) { return static_cast<SOCKET>(socket); }

std::string systemText(int code) {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string message(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == '.' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

void setNonBlocking(SOCKET socket) {
    u_long on = 1;
    ioctlsocket(socket, FIONBIO, &on);
}

void setOption(SOCKET socket, int level, int name, int value) {
    setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

bool startSockets(std::string& error) {
    WSADATA data{};
    if (const int failure = WSAStartup(MAKEWORD(2, 2), &data)) {
        error = "cannot start Winsock: " + systemText(failure);
        return false;
    }
    return true;
}

ListenOutcome listenOn(const std::string& host, std::uint16_t port, Socket& listener,
                       std::string& bound, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int failure = getaddrinfo(host.c_str(), service.c_str(), &hints, &found)) {
        error = systemText(failure);
        return ListenOutcome::BadAddress;
    }
    ListenOutcome outcome = ListenOutcome::Failed;
    for (const addrinfo* address = found; address; address = address->ai_next) {
        const SOCKET socket =
            ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (socket == INVALID_SOCKET) continue;
        // Nobody else may bind the port while the unit is served on it.
        setOption(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, 1);
        SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
        if (bind(socket, address->ai_addr, static_cast<int>(address->ai_addrlen)) != 0 ||
            listen(socket, 4) != 0) {
            const int failure = WSAGetLastError();
            error = failure == WSAEADDRINUSE      ? "the port is in use"
                    : failure == WSAEADDRNOTAVAIL ? "the address is none of this computer's"
                                                  : systemText(failure);
            outcome =
                failure == WSAEADDRNOTAVAIL ? ListenOutcome::BadAddress : ListenOutcome::Failed;
            closesocket(socket);
            continue;
        }
        setNonBlocking(socket);
        sockaddr_storage own{};
        int length = sizeof own;
        char numeric[NI_MAXHOST] = "", number[NI_MAXSERV] = "";
        getsockname(socket, reinterpret_cast<sockaddr*>(&own), &length);
        getnameinfo(reinterpret_cast<sockaddr*>(&own), length, numeric, sizeof numeric, number,
                    sizeof number, NI_NUMERICHOST | NI_NUMERICSERV);
        bound = own.ss_family == AF_INET6 ? "[" + std::string(numeric) + "]:" + number
                                          : std::string(numeric) + ":" + number;
        listener = static_cast<Socket>(socket);
        outcome = ListenOutcome::Listening;
        break;
    }
    freeaddrinfo(found);
    return outcome;
}

Socket acceptClient(Socket listener) {
    const SOCKET socket = accept(handle(listener), nullptr, nullptr);
    if (socket == INVALID_SOCKET) return kNoSocket;
    setNonBlocking(socket);
    setOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
    // Probes after 5 s of quiet, 2 s apart (Windows gives up after ten).
    tcp_keepalive keepalive{1, 5000, 2000};
    DWORD returned = 0;
    WSAIoctl(socket, SIO_KEEPALIVE_VALS, &keepalive, sizeof keepalive, nullptr, 0, &returned,
             nullptr, nullptr);
    return static_cast<Socket>(socket);
}

void waitSockets(std::vector<Watch>& watches, double seconds) {
    fd_set readable, writable, failed;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    for (Watch& watch : watches) {
        watch.ready = false;
        FD_SET(handle(watch.socket), watch.write ? &writable : &readable);
        FD_SET(handle(watch.socket), &failed);
    }
    const double wait = std::max(0.0, seconds);
    timeval timeout{};
    timeout.tv_sec = static_cast<long>(wait);
    timeout.tv_usec = static_cast<long>((wait - static_cast<double>(timeout.tv_sec)) * 1e6);
    if (watches.empty()) {
        Sleep(static_cast<DWORD>(wait * 1000.0));  // select refuses to wait on nothing
        return;
    }
    if (select(0, &readable, &writable, &failed, &timeout) <= 0) return;
    for (Watch& watch : watches) {
        const SOCKET socket = handle(watch.socket);
        watch.ready =
            FD_ISSET(socket, watch.write ? &writable : &readable) || FD_ISSET(socket, &failed);
    }
}

long receiveSome(Socket socket, char* buffer, std::size_t size) {
    const int n =
        recv(handle(socket), buffer, static_cast<int>(std::min<std::size_t>(size, 65536)), 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return -1;
    return n == SOCKET_ERROR ? 0 : n;
}

long sendSome(Socket socket, const char* data, std::size_t size) {
    const int n =
        send(handle(socket), data, static_cast<int>(std::min<std::size_t>(size, 65536)), 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    return n == SOCKET_ERROR ? -1 : n;
}

void closeSocket(Socket socket) {
    if (socket != kNoSocket) closesocket(handle(socket));
}

}  // namespace sigcond::sim::net
