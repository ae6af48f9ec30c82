// Command line of sigcond-unit-sim: the unit it plays and the faults it shows.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/model/unit_model.h"

namespace sigcond::sim {

struct SimOptions {
    UnitType type = UnitType::TC;
    FaultOptions faults;
    ReadingSource reading;
    std::map<std::string, std::string> registers;  // set before serving
    std::optional<double> gateSeconds;
    std::string linkPath;
    std::string logPath;
    bool help = false;
};

// Parses the arguments after the program name. On a fault returns nullopt and puts the reason
// into `error`.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

// Applies the options to a fresh unit; false (with `error`) for a register value it refuses.
bool configureUnit(const SimOptions& options, UnitModel& unit, std::string& error);

extern const char* const kSimUsage;

}  // namespace sigcond::sim
