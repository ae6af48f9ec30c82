// A session's serial port with the line-settings search told as it goes: the search tries each
// setting by setting the line before its "U01", so the progress display can show which one it
// is at. A stop request (Ctrl+C, SIGTERM) fails the port at once, so whatever exchange or
// sequence is under way ends within a wait slice, as if the port had gone. Everything else is
// handed to the port underneath unchanged.
#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "cli/stop_request.h"
#include "platform/serial_port.h"

namespace sigcond::cli {

class ProgressPort : public SerialPort {
public:
    explicit ProgressPort(SerialPort& port) : port_(port) {}

    // Called with each line settings text the port is set to; empty to stop telling.
    std::function<void(const std::string&)> onLineSettings;

    void setPortNumber(int number) override { port_.setPortNumber(number); }
    void setLineSettings(const std::string& settings) override {
        if (onLineSettings) onLineSettings(settings);
        port_.setLineSettings(settings);
    }
    bool open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const std::string& text) override { return !stopRequested() && port_.write(text); }
    int waitingCount() override { return port_.waitingCount(); }
    std::string readAll() override { return port_.readAll(); }
    bool waitForData(int timeoutMs) override {
        // In slices, so that a stop request is seen within one whatever the timeout.
        for (int left = timeoutMs;;) {
            if (stopRequested()) return false;
            const int slice = std::max(0, std::min(left, kSliceMs));
            if (port_.waitForData(slice)) return true;
            left -= slice;
            if (left <= 0) return false;
        }
    }
    std::string errorText() const override {
        return stopRequested() ? "stopped on request" : port_.errorText();
    }
    bool failed() const override { return stopRequested() || port_.failed(); }

private:
    static constexpr int kSliceMs = 100;

    SerialPort& port_;
};

}  // namespace sigcond::cli
