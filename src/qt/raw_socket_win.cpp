// The network port's own socket calls on Windows (Winsock 2).
// In this order: each builds on the ones before.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <mstcpip.h>
#include <ws2tcpip.h>
// clang-format on

#include <algorithm>

#include "qt/raw_socket.h"

// Windows 10 has these TCP options (keepalive's since version 1709, its count since 1703); the
// MinGW-w64 headers do not name them yet. The values are Winsock's.
#ifndef TCP_KEEPIDLE
#define TCP_KEEPIDLE 3
#endif
#ifndef TCP_MAXRT
#define TCP_MAXRT 5
#endif
#ifndef TCP_KEEPCNT
#define TCP_KEEPCNT 16
#endif
#ifndef TCP_KEEPINTVL
#define TCP_KEEPINTVL 17
#endif

namespace sigcond::raw_socket {

namespace {

// The system's words for a Winsock error code. gai_strerror is no use here: on Windows it
// writes into one buffer for the whole process, and lookups run in threads side by side.
std::string errorMessage(int code) {
    char text[256] = {};
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string message(text, std::min<DWORD>(length, sizeof text));
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(code) : message;
}

SOCKET handle(Descriptor socket) { return static_cast<SOCKET>(socket); }

}  // namespace

// Winsock is started once for the process (Qt starts its own use of it separately) and left
// running until the process ends; the first lookup may come before Qt has made any socket.
bool socketsReady() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

std::string lookupFailure(int status) { return errorMessage(status); }

Descriptor startConnecting(const sockaddr* address, int size) {
    if (!socketsReady()) return kNone;
    // Overlapped, as socket() makes them and Qt's own are; not inherited by child processes.
    const SOCKET s = WSASocketW(address->sa_family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                                WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) return kNone;
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0 ||
        (::connect(s, address, size) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)) {
        closesocket(s);
        return kNone;
    }
    return static_cast<Descriptor>(s);
}

// select() rather than WSAPoll: WSAPoll does not report a refused connection on Windows 10
// before version 2004 (the wait runs out instead), while select() reports it as an exception.
Connecting awaitConnected(Descriptor socket, int timeoutMs) {
    const SOCKET s = handle(socket);
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    const int ms = std::max(timeoutMs, 0);
    timeval timeout{ms / 1000, (ms % 1000) * 1000};
    // The first argument is ignored by Winsock.
    if (select(0, nullptr, &writable, &failed, &timeout) <= 0) return Connecting::Pending;
    int error = 0;
    int size = sizeof error;
    if (FD_ISSET(s, &failed) ||
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 ||
        error != 0) {
        return Connecting::Failed;
    }
    return Connecting::Connected;
}

void close(Descriptor socket) {
    if (socket != kNone) closesocket(handle(socket));
}

void tuneConnection(Descriptor socket, int idleSeconds, int intervalSeconds, int count,
                    unsigned unacknowledgedMs) {
    const SOCKET s = handle(socket);
    const auto option = [s](int name, DWORD value) {
        return setsockopt(s, IPPROTO_TCP, name, reinterpret_cast<const char*>(&value),
                          sizeof value) == 0;
    };
    if (!option(TCP_KEEPIDLE, static_cast<DWORD>(idleSeconds)) ||
        !option(TCP_KEEPINTVL, static_cast<DWORD>(intervalSeconds))) {
        // Before Windows 10 version 1709: the older control sets both times (in ms) at once;
        // the probe count is then the system's (10).
        tcp_keepalive values{1, static_cast<u_long>(idleSeconds) * 1000,
                             static_cast<u_long>(intervalSeconds) * 1000};
        DWORD returned = 0;
        WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr,
                 nullptr);
    }
    option(TCP_KEEPCNT, static_cast<DWORD>(count));
    // TCP_USER_TIMEOUT's counterpart: how long unacknowledged data is sent again before the
    // connection is given up, in whole seconds.
    option(TCP_MAXRT, static_cast<DWORD>((unacknowledgedMs + 999) / 1000));
    // Every segment is acknowledged at once instead of every second one or after the delayed
    // acknowledgement timer (200 ms). Unlike Linux's quick acknowledgement the setting stays,
    // so it is made once per connection; a system without it delays as it always did.
    TCP_ACK_FREQUENCY_PARAMETERS frequency{1};
    DWORD returned = 0;
    WSAIoctl(s, SIO_TCP_SET_ACK_FREQUENCY, &frequency, sizeof frequency, nullptr, 0, &returned,
             nullptr, nullptr);
}

// The acknowledgement frequency set in tuneConnection holds for the whole connection: nothing
// more to do after a read.
void acknowledgeReceived(Descriptor) {}

}  // namespace sigcond::raw_socket
