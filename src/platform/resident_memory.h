// Resident memory of this process (VmRSS), for the start-up report and the soak run.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace sigcond {

// Kilobytes of this process held in memory; -1 where the system does not say.
inline long residentMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

}  // namespace sigcond
