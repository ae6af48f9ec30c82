#include "sim/model/unit_types.h"

#include <array>
#include <cctype>

namespace sigcond::sim {

namespace {

constexpr std::array<UnitTypeInfo, 7> kTypes{{
    {UnitType::FP, "FP", "00"},
    {UnitType::PR, "PR", "01"},
    {UnitType::ST, "ST", "02"},
    {UnitType::TC, "TC", "03"},
    {UnitType::RTD, "RTD", "04"},
    {UnitType::ACV, "ACV", "05"},
    {UnitType::ACC, "ACC", "06"},
}};

}  // namespace

const UnitTypeInfo& unitTypeInfo(UnitType type) { return kTypes[static_cast<std::size_t>(type)]; }

std::optional<UnitType> unitTypeFromText(std::string_view text) {
    std::string upper;
    for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& info : kTypes) {
        if (upper == info.name || upper == info.code) return info.type;
    }
    return std::nullopt;
}

std::string unitTypeNames() {
    std::string names;
    for (const auto& info : kTypes) {
        if (!names.empty()) names += ", ";
        names += info.name;
    }
    return names;
}

}  // namespace sigcond::sim
