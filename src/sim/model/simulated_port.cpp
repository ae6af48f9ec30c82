#include "sim/model/simulated_port.h"

namespace sigcond::sim {

namespace {

// Reply characters are due at computed times; a clock moved to exactly that time must see them.
constexpr double kTimeSlack = 1e-9;

}  // namespace

void SimulatedPort::setLineSettings(const std::string& settings) {
    lineSettingsText_ = settings;
    if (const auto parsed = LineSettings::parse(settings)) line_ = *parsed;
}

bool SimulatedPort::open() {
    if (!present_ || availablePorts_.count(portNumber_) == 0) {
        errorText_ = "No such serial port: Com " + std::to_string(portNumber_);
        return false;
    }
    if (openFails_) {
        errorText_ = "Serial port Com " + std::to_string(portNumber_) + " is busy";
        return false;
    }
    open_ = true;
    failed_ = false;
    ++openCount_;
    errorText_.clear();
    return true;
}

void SimulatedPort::setPresent(bool present) {
    present_ = present;
    if (!present) {
        if (open_) failed_ = true;
        unit_.dropLine();
        received_.clear();
        open_ = false;
        errorText_ = "The serial device was removed";
    }
}

bool SimulatedPort::write(const std::string& text) {
    if (!open_ || !present_) {
        if (errorText_.empty()) errorText_ = "The serial port is not open";
        return false;
    }
    const double lineTime =
        unit_.faults().wireTime ? static_cast<double>(text.size()) * line_.characterSeconds() : 0;
    unit_.receive(text, line_, clock_.monotonicSeconds() + lineTime);
    if (pullOutAt_ > 0 && ++framesWritten_ == pullOutAt_) setPresent(false);
    return true;
}

void SimulatedPort::collect() {
    if (!open_ || !present_) return;
    std::string bytes = unit_.takeOutput(clock_.monotonicSeconds() + kTimeSlack);
    if (line_.dataBits == 7) {
        for (char& c : bytes) c = static_cast<char>(c & 0x7F);
    }
    received_ += bytes;
}

int SimulatedPort::waitingCount() {
    collect();
    return static_cast<int>(received_.size());
}

std::string SimulatedPort::readAll() {
    collect();
    std::string bytes;
    bytes.swap(received_);
    return bytes;
}

bool SimulatedPort::waitForData(int timeoutMs) {
    if (waitingCount() > 0) return true;
    const double now = clock_.monotonicSeconds();
    const double limit = now + (timeoutMs > 0 ? timeoutMs / 1000.0 : 0.0);
    const auto next = unit_.nextOutputTime();
    if (open_ && present_ && next && *next <= limit + kTimeSlack) {
        if (*next > now) clock_.advance(*next - now);
        return waitingCount() > 0;
    }
    clock_.advance(limit - now);
    return false;
}

}  // namespace sigcond::sim
