// The serial-port seam for "Com n", whatever it stands for: a local serial device (QtSerialPort)
// or a serial device server's address (NetworkPort). Which one is decided at each open() from
// what "Com n" names, so the code above the seam cannot tell them apart.
#pragma once

#include <string>

#include "platform/serial_port.h"
#include "qt/network_port.h"
#include "qt/local_serial_port.h"

namespace sigcond {

class ComPort : public SerialPort {
public:
    void setPortNumber(int number) override;
    void setLineSettings(const std::string& settings) override;
    bool open() override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    bool write(const std::string& text) override { return active_->write(text); }
    int waitingCount() override { return active_->waitingCount(); }
    std::string readAll() override { return active_->readAll(); }
    bool waitForData(int timeoutMs) override { return active_->waitForData(timeoutMs); }
    std::string errorText() const override { return active_->errorText(); }
    bool failed() const override { return active_->failed(); }

    // The device path or address opened last ("" before the first open).
    const std::string& devicePath() const;
    // The adapter in use since the last open(), and each of them.
    bool isNetwork() const { return active_ == &network_; }
    // Whether setting the line settings reaches the wire: false for socket:// addresses, where
    // the server's own settings apply and the settings reported are only the attempt's.
    bool setsLineSettings() const;
    // Why the line settings set last may not be the wire's, or "" when they are (a local port,
    // or a server that acknowledged them as set). Whoever reports line settings adds it as
    // "... as tried (CAVEAT)".
    std::string lineSettingsCaveat() const;
    LocalSerialPort& local() { return local_; }
    NetworkPort& network() { return network_; }

private:
    LocalSerialPort local_;
    NetworkPort network_;
    SerialPort* active_ = &local_;
    int number_ = 0;
    std::string settings_;
};

}  // namespace sigcond
