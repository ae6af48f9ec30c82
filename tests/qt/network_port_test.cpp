// The network adapter against a server of the test's own that never answers the Telnet
// negotiation nor the line settings, and sends junk before the first frame: the exchange still
// goes through, without the junk, and the settings went out as COM-PORT-OPTION commands. And
// against one that holds a reply back until its notice before it is acknowledged.
#include "qt/network_port.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace sigcond {
namespace {

// A listening socket on 127.0.0.1; "Com 1" set to its rfc2217:// address.
int listenAsCom1() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener, 1) != 0) {
        ADD_FAILURE() << "no socket to listen on";
    }
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    setenv("SIGCOND_COM1",
           ("rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str(), 1);
    return listener;
}

// Reads from `peer` into `heard` until it holds `until` (at most 5 s).
void hear(int peer, std::string& heard, const std::string& until) {
    for (int waited = 0; heard.find(until) == std::string::npos && waited < 50; ++waited) {
        pollfd wait{peer, POLLIN, 0};
        char buffer[256];
        if (poll(&wait, 1, 100) > 0) {
            const ssize_t n = read(peer, buffer, sizeof buffer);
            if (n <= 0) break;
            heard.append(buffer, static_cast<std::size_t>(n));
        }
    }
}

TEST(NetworkPort, ServerThatNeverAnswersStillCarriesTheExchangeWithoutWhatCameBefore) {
    const int listener = listenAsCom1();
    std::string heard;
    std::thread server([&] {
        const int peer = accept(listener, nullptr, nullptr);
        (void)!write(peer, "\x85junk", 5);
        hear(peer, heard, "*U01\r");
        (void)!write(peer, "U0103\r", 6);
        usleep(300000);
        close(peer);
    });
    NetworkPort port;
    port.setPortNumber(1);
    ASSERT_TRUE(port.open()) << port.errorText();
    port.setLineSettings("4800,E,7,1");
    ASSERT_TRUE(port.write("*U01\r"));
    std::string reply;
    while (reply.find('\r') == std::string::npos && port.waitForData(2000)) reply += port.readAll();
    server.join();
    close(listener);
    unsetenv("SIGCOND_COM1");
    EXPECT_EQ(reply, "U0103\r");
    EXPECT_EQ(port.acknowledgedCount(), 0);
    // No line command before the server agrees to line control (it never did), so the wire's
    // settings are not known to be the ones tried; then the frame (CR NUL: no binary agreed).
    EXPECT_EQ(heard.find("\xff\xfa\x2c"), std::string::npos);
    EXPECT_NE(port.lineSettingsCaveat(), "");
    EXPECT_EQ(heard.substr(heard.size() - 6), std::string("*U01\r\0", 6));
}

TEST(NetworkPort, AReplyHeldBackByTheServersNagleIsNotKeptWaitingForOurAcknowledgement) {
    // Like ser2net: Nagle's rule on, a notice ahead of each reply (there: the acknowledgements
    // of the line settings); the reply goes out only once the notice is acknowledged.
    const int listener = listenAsCom1();
    std::thread server([&] {
        const int peer = accept(listener, nullptr, nullptr);
        (void)!write(peer, "\xff\xfe\x2c", 3);  // DONT COM-PORT-OPTION: no line control
        for (int frame = 0; frame < 5; ++frame) {
            std::string heard;
            hear(peer, heard, "*U01\r");
            (void)!write(peer, "\xff\xf1", 2);  // NOP
            usleep(2000);
            (void)!write(peer, "U0103\r", 6);
        }
        usleep(100000);
        close(peer);
    });
    NetworkPort port;
    port.setPortNumber(1);
    ASSERT_TRUE(port.open()) << port.errorText();
    std::vector<double> ms;
    for (int frame = 0; frame < 5; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(port.write("*U01\r"));
        std::string reply;
        while (reply.find('\r') == std::string::npos && port.waitForData(2000))
            reply += port.readAll();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        EXPECT_EQ(reply, "U0103\r");
    }
    server.join();
    close(listener);
    unsetenv("SIGCOND_COM1");
    // Held back, every exchange would wait for the kernel's delayed acknowledgement (40 ms).
    EXPECT_LT(*std::min_element(ms.begin(), ms.end()), 30.0) << ::testing::PrintToString(ms);
}

// Exchanges "*U01" as live reading does: on and on, reconnecting as it goes.
std::string exchange(NetworkPort& port) {
    std::string reply;
    if (!port.write("*U01\r")) usleep(100000);
    while (reply.find('\r') == std::string::npos && port.waitForData(100)) reply += port.readAll();
    return reply;
}

TEST(NetworkPort, ConnectsAgainAfterADropWithoutAnEventLoop) {
    // As in sigcond-cli: nobody runs Qt's event loop, only the port's own calls. The server
    // agrees to binary transmission both ways at once, as ser2net does.
    const int listener = listenAsCom1();
    std::string heard[2];
    std::thread server([&] {
        for (int connection = 0; connection < 2; ++connection) {
            pollfd waiting{listener, POLLIN, 0};
            if (poll(&waiting, 1, 6000) <= 0) break;  // never came back
            const int peer = accept(listener, nullptr, nullptr);
            (void)!write(peer, "\xff\xfd\x00\xff\xfb\x00", 6);  // DO, WILL BINARY
            hear(peer, heard[connection], "*U01\r");
            (void)!write(peer, "U0103\r", 6);
            usleep(connection == 0 ? 0 : 300000);
            close(peer);
        }
    });
    NetworkPort port;
    port.setPortNumber(1);
    ASSERT_TRUE(port.open()) << port.errorText();
    EXPECT_EQ(exchange(port), "U0103\r");
    // The server drops the line; the exchanges go on, as live reading does, until answered.
    std::string reply;
    for (int attempt = 0; attempt < 40 && reply.empty(); ++attempt) reply = exchange(port);
    server.join();
    close(listener);
    unsetenv("SIGCOND_COM1");
    EXPECT_EQ(reply, "U0103\r");
    EXPECT_EQ(port.reconnections(), 1);
    // The first frame on the new connection waited for binary transmission: no NUL after CR.
    for (const std::string& h : heard) EXPECT_EQ(h.substr(h.size() - 5), "*U01\r");
}

TEST(NetworkPort, AServerThatAcceptsAndClosesIsTriedAgainAfterLongerPausesAndSaysWhy) {
    // Like ser2net while another client holds its port: it says so and closes.
    const int listener = listenAsCom1();
    int connections = 0;
    std::atomic<bool> done{false};
    std::thread server([&] {
        while (!done) {
            pollfd waiting{listener, POLLIN, 0};
            if (poll(&waiting, 1, 100) <= 0) continue;
            const int peer = accept(listener, nullptr, nullptr);
            if (connections++ == 0) {
                std::string heard;
                hear(peer, heard, "*U01\r");
                (void)!write(peer, "U0103\r", 6);
                usleep(100000);
            } else {
                (void)!write(peer, "Port already in use\r\n", 21);
            }
            close(peer);
        }
    });
    NetworkPort port;
    port.setPortNumber(1);
    ASSERT_TRUE(port.open()) << port.errorText();
    EXPECT_EQ(exchange(port), "U0103\r");
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2500)) exchange(port);
    done = true;
    server.join();
    close(listener);
    unsetenv("SIGCOND_COM1");
    // Pauses of 0.25, 0.5, 1 s...: a handful of connections, not one per exchange.
    EXPECT_LE(connections, 6);
    EXPECT_NE(port.errorText().find("Port already in use"), std::string::npos) << port.errorText();
}

}  // namespace
}  // namespace sigcond
