// The configuration record and the option catalogue of the current input type.
#pragma once

#include <string>

namespace sigcond {

struct ConfigRecord {
    std::string inputType = "TC";  // TC, RTD, PR, ST, ACV, ACC, FP
};

}  // namespace sigcond
