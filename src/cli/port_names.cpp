#include "cli/port_names.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>

namespace sigcond::cli {

namespace {

// "COM1".."COM4" in any letter case -> 1..4, else 0.
int comNumber(const std::string& name) {
    if (name.size() != 4) return 0;
    std::string head = name.substr(0, 3);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (head != "COM" || name[3] < '1' || name[3] > '4') return 0;
    return name[3] - '0';
}

}  // namespace

std::optional<std::vector<NamedPort>> parsePortList(const std::string& list, std::string& error) {
    std::vector<NamedPort> ports;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma - start);
        if (name.empty()) {
            error = "empty port name in \"" + list + "\"";
            return std::nullopt;
        }
        NamedPort port{name, comNumber(name), ""};
        // The serial adapter takes a bare name for one under /dev; a relative path is meant
        // from the current folder.
        if (port.number == 0) {
            std::error_code ignored;
            port.device =
                name.front() == '/' ? name : std::filesystem::absolute(name, ignored).string();
        }
        for (const NamedPort& other : ports) {
            if (other.label == name || (port.number != 0 && other.number == port.number)) {
                error = "port " + name + " is named twice";
                return std::nullopt;
            }
        }
        ports.push_back(port);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (ports.size() > 4) {
        error = "at most four ports at once";
        return std::nullopt;
    }
    std::array<bool, 5> taken{};
    for (const NamedPort& port : ports) taken[static_cast<std::size_t>(port.number)] = true;
    for (NamedPort& port : ports) {
        if (port.number != 0) continue;
        for (int n = 1; n <= 4; ++n) {
            if (!taken[static_cast<std::size_t>(n)]) {
                port.number = n;
                taken[static_cast<std::size_t>(n)] = true;
                break;
            }
        }
    }
    return ports;
}

void mapDevicePorts(const std::vector<NamedPort>& ports) {
    for (const NamedPort& port : ports) {
        if (port.device.empty()) continue;
        const std::string variable = "SIGCOND_COM" + std::to_string(port.number);
        setenv(variable.c_str(), port.device.c_str(), 1);
    }
}

}  // namespace sigcond::cli
