// Command line of sigcond-unit-sim: the unit it plays and the faults it shows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/model/unit_model.h"

namespace sigcond::sim {

// Where --listen serves the unit: a host name or address (IPv6 without its brackets) and a
// port, 0 for any free one.
struct ListenAddress {
    std::string host;
    std::uint16_t port = 0;
};

struct SimOptions {
    UnitType type = UnitType::TC;
    FaultOptions faults;
    ReadingSource reading;
    std::map<std::string, std::string> registers;  // set before serving
    std::optional<double> gateSeconds;
    std::string linkPath;
    std::string logPath;
    int units = 1;  // how many units to serve, each on its own pseudo-terminal
    std::optional<ListenAddress> listen;  // serve on this TCP port instead
    bool help = false;
};

// Parses the arguments after the program name. On a fault returns nullopt and puts the reason
// into `error`.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

// "HOST:PORT" or "[IPV6]:PORT", PORT from 0 to 65535; nothing when it is not of that form.
std::optional<ListenAddress> parseListenAddress(const std::string& text);

// The arguments of unit `index` (from 0) of several: a comma-separated list given to --type,
// --baud or --parity gives the unit its index-th element, from the start again when the list
// is shorter than the units.
std::vector<std::string> argumentsForUnit(const std::vector<std::string>& args, std::size_t index);

// Applies the options to a fresh unit; false (with `error`) for a register value it refuses.
bool configureUnit(const SimOptions& options, UnitModel& unit, std::string& error);

extern const char* const kSimUsage;

}  // namespace sigcond::sim
