// The serial port routed to a UnitModel inside the test process, on a virtual clock: waiting
// for a reply moves the clock to the moment its characters arrive (or by the whole wait when
// the unit stays silent), so timeout tests take no real time.
#pragma once

#include <set>
#include <string>

#include "platform/serial_port.h"
#include "sim/model/line_settings.h"
#include "sim/model/unit_model.h"
#include "sim/model/virtual_clock.h"

namespace sigcond::sim {

class SimulatedPort : public SerialPort {
public:
    SimulatedPort(UnitModel& unit, VirtualClock& clock) : unit_(unit), clock_(clock) {}

    void setPortNumber(int number) override { portNumber_ = number; }
    void setLineSettings(const std::string& settings) override;
    bool open() override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const std::string& text) override;
    int waitingCount() override;
    std::string readAll() override;
    bool waitForData(int timeoutMs) override;
    std::string errorText() const override { return errorText_; }
    bool failed() const override { return failed_; }

    // Test controls.
    // Ports that exist ("Com 1".."Com 4" by default); opening any other fails.
    void setAvailablePorts(std::set<int> numbers) { availablePorts_ = std::move(numbers); }
    // Every open() fails (the port is busy).
    void setOpenFails(bool fails) { openFails_ = fails; }
    // Pulls the adapter out (false) or plugs it back in (true). While it is out every port
    // operation fails, and what was on the line is lost; the port must be opened again.
    void setPresent(bool present);
    // Pulls the adapter out just after the n-th frame from now on is written (1 = the next
    // one), so that its reply is lost; 0 = never.
    void pullOutAtFrame(int n) {
        pullOutAt_ = n;
        framesWritten_ = 0;
    }

    int portNumber() const { return portNumber_; }
    // The settings as last set, and parsed (unchanged by a text that does not parse).
    const std::string& lineSettingsText() const { return lineSettingsText_; }
    const LineSettings& line() const { return line_; }
    int openCount() const { return openCount_; }

private:
    void collect();

    UnitModel& unit_;
    VirtualClock& clock_;
    int portNumber_ = 0;
    std::string lineSettingsText_ = "9600,N,8,1";
    LineSettings line_{9600, 'N', 8, 1};
    std::set<int> availablePorts_{1, 2, 3, 4};
    bool open_ = false;
    bool openFails_ = false;
    bool present_ = true;
    bool failed_ = false;  // pulled out while open, since the last open()
    int openCount_ = 0;
    int pullOutAt_ = 0;
    int framesWritten_ = 0;
    std::string received_;
    std::string errorText_;
};

}  // namespace sigcond::sim
