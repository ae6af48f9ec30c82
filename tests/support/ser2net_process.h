// Runs Debian's ser2net as a child process in front of a serial device (a simulator's
// pseudo-terminal) for the end-to-end tests: on 127.0.0.1 at free ports, with its configuration
// and pid file in a private folder. A Telnet port with COM-PORT-OPTION for each device starts
// each connection at 115200,N,8,1, so the client has to set the line; a plain TCP port serves at
// fixed settings. It can be stopped and started again on the same ports.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace sigcond::test {

class Ser2netProcess {
public:
    // `device`: the path to serve; `plainSettings`: the plain port's line, as ser2net writes it
    // ("9600o71", "2400n72"); `plainDevice`: another device for the plain port ("": the same).
    explicit Ser2netProcess(std::string device, std::string plainSettings = "9600o71",
                            std::string plainDevice = "");
    // Many devices, each on a Telnet port of its own (rfc2217Url(n)); no plain port.
    explicit Ser2netProcess(std::vector<std::string> devices);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // Starts ser2net and waits until all its ports listen. False (with error()) on failure.
    bool start();
    void stop();
    bool restart();

    std::string rfc2217Url(std::size_t device = 0) const;
    std::string socketUrl() const;
    int rfc2217Port(std::size_t device = 0) const { return ports_.at(device); }
    int socketPort() const { return plainPort_; }
    const std::string& error() const { return error_; }

private:
    std::vector<std::string> devices_;
    std::string plainSettings_;
    std::string plainDevice_;
    std::string folder_;
    std::string error_;
    std::vector<int> ports_;
    int plainPort_ = 0;
    pid_t pid_ = -1;
};

// A TCP port on 127.0.0.1 that nothing listens on (at the moment of asking).
int freeLocalPort();

}  // namespace sigcond::test
