#include "qt/com_port.h"

#include "link/port_url.h"

namespace sigcond {

void ComPort::setPortNumber(int number) {
    number_ = number;
    local_.setPortNumber(number);
    network_.setPortNumber(number);
}

void ComPort::setLineSettings(const std::string& settings) {
    settings_ = settings;
    active_->setLineSettings(settings);
}

bool ComPort::open() {
    active_->close();
    const std::string target = comPortDevice(number_);
    active_ = isPortUrl(target) ? static_cast<SerialPort*>(&network_) : &local_;
    if (!settings_.empty()) active_->setLineSettings(settings_);
    return active_->open();
}

const std::string& ComPort::devicePath() const {
    return isNetwork() ? network_.address() : local_.devicePath();
}

bool ComPort::setsLineSettings() const {
    if (!isNetwork()) return true;
    std::string error;
    const auto url = parsePortUrl(network_.address(), error);
    return url && url->lineControl;
}

std::string ComPort::lineSettingsCaveat() const {
    return isNetwork() ? network_.lineSettingsCaveat() : "";
}

}  // namespace sigcond
