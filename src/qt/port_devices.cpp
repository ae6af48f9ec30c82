// What both systems' port listings share: SIGCOND_COM<n> and the tooltip texts.
#include "qt/port_devices.h"

#include <cstdlib>

#include "link/port_url.h"

namespace sigcond {

std::string environmentComDevice(int number) {
    const std::string name = "SIGCOND_COM" + std::to_string(number);
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

std::string describeEnvironmentDevice(int number, const std::string& device) {
    std::string text = device + " (SIGCOND_COM" + std::to_string(number) + ")";
    return isPortUrl(device) ? text + ": " + describePortUrl(device) : text;
}

std::string describeListedDevice(const PortDevice& device) {
    std::string about = device.description;
    if (!device.manufacturer.empty())
        about += (about.empty() ? "" : ", ") + device.manufacturer;
    return about.empty() ? device.path : device.path + " (" + about + ")";
}

}  // namespace sigcond
