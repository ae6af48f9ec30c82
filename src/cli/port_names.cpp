#include "cli/port_names.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace sigcond::cli {

namespace {

// "COM1", "com12", ... -> 1, 12, ...; 0 for any other name (a leading zero or more than four
// digits makes it a file name).
int comNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 7) return 0;
    std::string head = name.substr(0, 3);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (head != "COM" || name[3] < '1' || name[3] > '9') return 0;
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

}  // namespace

bool isPortUrl(const std::string& name) { return name.find("://") != std::string::npos; }

std::string sameDeviceKey(const std::string& device) {
    if (device.empty() || isPortUrl(device)) return device;
    std::error_code ignored;
    const auto resolved = std::filesystem::weakly_canonical(device, ignored);
    return resolved.empty() ? device : resolved.string();
}

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
        // A URL goes to the network adapter as typed. The serial adapter takes a bare name for
        // one under /dev; a relative path is meant from the current folder.
        if (port.number == 0) {
            std::error_code ignored;
            port.device = name.front() == '/' || isPortUrl(name)
                              ? name
                              : std::filesystem::absolute(name, ignored).string();
        }
        const bool twice = std::any_of(ports.begin(), ports.end(), [&](const NamedPort& other) {
            return other.label == name || (port.number != 0 && other.number == port.number);
        });
        if (twice) {
            error = "port " + name + " is named twice";
            return std::nullopt;
        }
        ports.push_back(port);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::set<int> taken;
    for (const NamedPort& port : ports) taken.insert(port.number);
    int next = 1;
    for (NamedPort& port : ports) {
        if (port.number != 0) continue;
        while (taken.count(next) != 0) ++next;
        port.number = next++;
    }
    return ports;
}

void mapDevicePorts(const std::vector<NamedPort>& ports) {
    for (const NamedPort& port : ports) {
        if (port.device.empty()) continue;
        const std::string variable = "SIGCOND_COM" + std::to_string(port.number);
#ifdef _WIN32
        _putenv_s(variable.c_str(), port.device.c_str());
#else
        setenv(variable.c_str(), port.device.c_str(), 1);
#endif
    }
}

std::optional<std::vector<std::string>> saveFileNames(const std::vector<NamedPort>& ports,
                                                      std::string& error) {
    std::vector<std::string> names;
    for (const NamedPort& port : ports) {
        std::string name = port.label;
        if (const auto scheme = name.find("://"); scheme != std::string::npos) {
            name = name.substr(scheme + 3);
        } else if (name.rfind("/dev/", 0) == 0) {
            name = name.substr(5);
        }
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
        }
        name += ".CFG";
        for (std::size_t other = 0; other < names.size(); ++other) {
            if (names[other] == name) {
                error = "ports " + ports[other].label + " and " + port.label +
                        " would both be saved to " + name;
                return std::nullopt;
            }
        }
        names.push_back(name);
    }
    return names;
}

}  // namespace sigcond::cli
