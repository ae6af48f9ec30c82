// The serial port as the core sees it. Implemented by the Qt adapter (QSerialPort), by the
// in-process simulator port for tests, and by nothing else.
#pragma once

#include <string>

namespace sigcond {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // "Com n", n = 1..4. Takes effect at the next open().
    virtual void setPortNumber(int number) = 0;
    // Line settings text such as "9600,O,7,1". May be called while the port is open.
    virtual void setLineSettings(const std::string& settings) = 0;
    // Opens the port; false (with errorText()) when it cannot be opened.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes the text; false (with errorText()) when the port fails.
    virtual bool write(const std::string& text) = 0;
    // Number of received characters waiting to be read.
    virtual int waitingCount() = 0;
    // Reads and removes every waiting character (empty if none).
    virtual std::string readAll() = 0;
    // Blocks until at least one character is waiting or timeoutMs has passed; never spins.
    // Returns true when characters are waiting.
    virtual bool waitForData(int timeoutMs) = 0;
    // Text of the last port failure, for the operator.
    virtual std::string errorText() const = 0;
    // True when the system has reported the port gone or failing (a device removed, a failed
    // read or write) since it was last opened. A port that only stays silent has not failed.
    virtual bool failed() const = 0;
};

}  // namespace sigcond
