// The seven input types a unit can have, with the two-digit type code it answers to "U01".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sigcond::sim {

enum class UnitType { FP, PR, ST, TC, RTD, ACV, ACC };

struct UnitTypeInfo {
    UnitType type;
    const char* name;  // "TC"
    const char* code;  // "03"
};

const UnitTypeInfo& unitTypeInfo(UnitType type);
// By name ("TC", "tc") or by type code ("03").
std::optional<UnitType> unitTypeFromText(std::string_view text);
// "FP, PR, ST, TC, RTD, ACV, ACC".
std::string unitTypeNames();

}  // namespace sigcond::sim
