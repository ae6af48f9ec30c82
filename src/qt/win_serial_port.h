// The serial port seam on the Win32 communications API, for Windows. What "Com n" opens is in
// port_devices.h; "COM3" opens as \\.\COM3 (the only form that reaches COM10 and above).
//
// Waiting sleeps in the driver: reads use a handle without overlapped I/O whose read timeouts
// make ReadFile return at once with what is waiting, as soon as the first character arrives, or
// after the slice of the wait asked for.
//
// As with the Linux adapter, a device that goes away while open (an adapter pulled out) makes
// every operation fail quietly; the same device is opened again by itself once it is back, at
// the same line settings, and failed() tells that it happened until the port is opened again.
#pragma once

#include <string>

#include "link/telnet_codec.h"
#include "platform/serial_port.h"
#include "qt/port_devices.h"

namespace sigcond {

class WinSerialPort : public SerialPort {
public:
    WinSerialPort() = default;
    ~WinSerialPort() override;
    WinSerialPort(const WinSerialPort&) = delete;
    WinSerialPort& operator=(const WinSerialPort&) = delete;

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

    // The device opened last ("" before the first open).
    const std::string& devicePath() const { return devicePath_; }

private:
    bool openHandle();
    void closeHandle();
    void applyLineSettings();
    // Sets the read timeout for the next ReadFile (and the write timeouts for the baud rate).
    bool setReadSlice(int sliceMs);
    // The characters the driver holds, or -1 when the device failed.
    long driverCount();
    // Reads up to `limit` characters that arrive within the slice set last into pending_;
    // false when the device failed.
    bool readInto(std::size_t limit, unsigned long& got);
    // After a failed call: the system's text for it, the handle closed, the device lost.
    void noteLoss();
    // While the device is gone: tries to open it again (at most five times a second).
    bool recover();

    void* handle_ = nullptr;  // a HANDLE; null while closed
    int portNumber_ = 0;
    std::string devicePath_;
    std::string errorText_;
    std::string pending_;  // characters read while waiting, not yet handed out
    bool lost_ = false;
    bool failed_ = false;
    double lastRecoveryAttempt_ = -1e9;
    int sliceMs_ = -1;
    telnet::LineSettings line_;  // 9600,O,7,1 until set
};

namespace win {
// UTF-8 to the system's wide text and back, for the Win32 calls.
std::wstring toWide(const std::string& text);
std::string fromWide(const wchar_t* text, std::size_t length);
// The system's message for an error code, as one plain line.
std::string errorMessage(unsigned long code);
}  // namespace win

}  // namespace sigcond
