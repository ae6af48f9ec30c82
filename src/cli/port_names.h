// The ports named on the command line: "COM1".."COM4" stand for the program's own "Com n"
// mapping; a device path is given a free "Com n" of its own (through SIGCOND_COM<n>), so that
// the serial adapter opens it like any other port.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sigcond::cli {

struct NamedPort {
    std::string label;   // as typed
    int number = 0;      // the "Com n" the adapter opens
    std::string device;  // the device path to map number to; "" for COMn
};

// Splits a comma-separated list and assigns "Com n" numbers. Returns nothing (with `error`)
// for an empty name, a repeated port or more than four ports.
std::optional<std::vector<NamedPort>> parsePortList(const std::string& list, std::string& error);

// Makes each device-path port's number open its device (sets SIGCOND_COM<n>). Call before any
// worker starts.
void mapDevicePorts(const std::vector<NamedPort>& ports);

}  // namespace sigcond::cli
