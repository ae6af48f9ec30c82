// The network adapter against a server of the test's own that never answers the Telnet
// negotiation nor the line settings, and sends junk before the first frame: the exchange still
// goes through, without the junk, and the settings went out as COM-PORT-OPTION commands.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <string>
#include <thread>

#include "qt/network_port.h"

namespace sigcond {
namespace {

TEST(NetworkPort, ServerThatNeverAnswersStillCarriesTheExchangeWithoutWhatCameBefore) {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    std::string heard;
    std::thread server([&] {
        const int peer = accept(listener, nullptr, nullptr);
        (void)!write(peer, "\x85junk", 5);
        for (int waited = 0; heard.find("*U01\r") == std::string::npos && waited < 50; ++waited) {
            pollfd wait{peer, POLLIN, 0};
            char buffer[256];
            if (poll(&wait, 1, 100) > 0) {
                const ssize_t n = read(peer, buffer, sizeof buffer);
                if (n <= 0) break;
                heard.append(buffer, static_cast<std::size_t>(n));
            }
        }
        (void)!write(peer, "U0103\r", 6);
        usleep(300000);
        close(peer);
    });
    setenv("SIGCOND_COM1",
           ("rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str(), 1);
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
    // SET-DATASIZE 7 and SET-PARITY EVEN, then the frame (CR NUL: no binary was agreed).
    EXPECT_NE(heard.find("\xff\xfa\x2c\x02\x07\xff\xf0\xff\xfa\x2c\x03\x03\xff\xf0"),
              std::string::npos);
    EXPECT_EQ(heard.substr(heard.size() - 6), std::string("*U01\r\0", 6));
}

}  // namespace
}  // namespace sigcond
