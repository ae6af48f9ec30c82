// The serial port seam over QSerialPort, for Linux. What "Com n" opens is in port_devices.h.
//
// A device that goes away while open (an adapter pulled out, a simulator stopped) does not
// end the program's use of the port: every operation fails quietly, and the adapter opens the
// same device again by itself once it is back, at the same line settings. failed() tells that
// it happened, until the port is opened again.
#pragma once

#include <QSerialPort>
#include <string>

#include "platform/serial_port.h"
#include "qt/port_devices.h"

namespace sigcond {

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setPortNumber(int number) override { portNumber_ = number; }
    void setLineSettings(const std::string& settings) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& text) override;
    int waitingCount() override;
    std::string readAll() override;
    bool waitForData(int timeoutMs) override;
    std::string errorText() const override { return errorText_; }
    bool failed() const override { return failed_; }

    // The device path opened last ("" before the first open).
    const std::string& devicePath() const { return devicePath_; }
    // The port as QSerialPort holds it: the line settings in force can be read back from it.
    const QSerialPort& device() const { return port_; }

private:
    void applyLineSettings();
    void noteFailure();
    // After a failed operation: when the device has gone, close it and remember to reopen it.
    void checkForLoss();
    // While the device is gone: tries to open it again (at most five times a second). True when
    // the port is usable.
    bool recover();

    QSerialPort port_;
    int portNumber_ = 0;
    std::string devicePath_;
    std::string errorText_;
    bool lost_ = false;    // opened, then the device went away
    bool failed_ = false;  // the device went away or failed since the last open()
    double lastRecoveryAttempt_ = -1e9;
    qint32 baud_ = 9600;
    QSerialPort::Parity parity_ = QSerialPort::OddParity;
    QSerialPort::DataBits dataBits_ = QSerialPort::Data7;
    QSerialPort::StopBits stopBits_ = QSerialPort::OneStop;
};

}  // namespace sigcond
