// The option catalogue of every input type as data. Captions are kept here unpadded; the
// builder pads them (two blanks in front, blanks behind to the item's width).
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "config/config_record.h"

namespace sigcond {

struct ItemSpec {
    std::string_view caption;
    int listSlot;
    // Width of the padded option captions; 0 = the longest caption plus four blanks.
    int captionWidth;
    std::vector<std::string_view> options;
};

struct TypeSpec {
    std::string_view code;        // "TC"
    std::string_view longName;    // "THERMOCOUPLE"
    std::string_view typeNumber;  // reported by the unit to "U01"
    FrameLayout frame1;
    FrameLayout frame2;
    std::vector<ItemSpec> inputItems;  // group 1
    std::vector<ItemSpec> modeItems;   // group 2
    std::vector<std::string_view> rangeUnits;
    // Resolution captions (six stored) and how many are offered; 0 = no Resolution group.
    const std::array<std::string_view, 6>* resolutionCaptions;
    int resolutionCount;
    // 100000 / full scale of each input range; empty = no factor for this type.
    std::vector<double> rangeFactors;
};

// The seven types, in the demo chooser's order.
const std::vector<TypeSpec>& typeSpecs();
// The table entry of a type code, or nullptr.
const TypeSpec* findTypeSpec(std::string_view code);

// Group 3 (filter): all nine captions stored, eight offered.
inline constexpr std::array<std::string_view, 9> kFilterCaptions{
    "No filtering", "2", "4", "8", "16", "32", "64", "128", "256"};
inline constexpr int kFilterOptionsOffered = 8;

inline constexpr std::string_view kDegreeUnit = "  \xB0";

}  // namespace sigcond
