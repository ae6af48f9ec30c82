// The configuration record (the operator's picks, the scaling numbers, gate and debounce
// times), the option catalogue of the current input type and the values derived from them.
//
// Indexing: groups g = 1..7, items i = 1..10, options k = 1..12; index 0 is never used, so
// `choice[g][i]` and `catalogue.optionCaption[g][i][k]` read exactly as the option numbers do.
// Everything here is rebuilt by buildOptionCatalogue (config/option_catalogue.h) whenever the
// input type becomes known.
#pragma once

#include <array>
#include <string>

namespace sigcond {

inline constexpr int kGroupCount = 7;       // option groups 1..7
inline constexpr int kMaxItems = 10;        // items per group 1..10
inline constexpr int kMaxOptions = 12;      // options per item 1..12
inline constexpr int kOptionListCount = 9;  // on-screen option lists List1(0..8)

// Option groups, as opened from the Configuration menu.
inline constexpr int kGroupInput = 1;       // INPF: input range or configuration
inline constexpr int kGroupMode = 2;        // IOCF: input/output mode selection
inline constexpr int kGroupFilter = 3;      // FILTER
inline constexpr int kGroupScaling = 4;     // ANA1 / ANA2: analog output scaling
inline constexpr int kGroupGate = 5;        // GATE
inline constexpr int kGroupDebounce = 6;    // DEBT
inline constexpr int kGroupResolution = 7;  // RESOL

template <typename T>
using PerItem = std::array<std::array<T, kMaxItems + 1>, kGroupCount + 1>;

// Position and size (twips) of one of the two option frames of groups 1 and 2.
struct FrameLayout {
    int left = 0;
    int width = 0;
    int height = 0;
};

// The option catalogue of the current input type. How another file finds an item's list and
// options: item i of group g is shown in List1(listSlot[g][i] - 1) with its label
// Label1(listSlot[g][i] - 1); the list offers options 1..choiceCount[g][i]; the line of
// option k reads displayedOptionCaption(p, g, i, k) (stored, padded captions are in
// optionCaption[g][i][k]); the picked option is choice[g][i] of the record.
struct OptionCatalogue {
    std::array<std::string, 3> groupTitle{};       // 1..2: frame titles of groups 1 and 2
    std::array<int, kGroupCount + 1> itemCount{};  // 1..7
    PerItem<std::string> itemCaption{};
    PerItem<int> choiceCount{};  // options offered
    PerItem<int> listSlot{};     // 1..9, 0 where the item does not exist
    std::array<std::array<std::array<std::string, kMaxOptions + 1>, kMaxItems + 1>, kGroupCount + 1>
        optionCaption{};
    // Unit text of input-range option k (group 1 item 1); for "FP" indexed by the Mode option.
    std::array<std::string, kMaxOptions + 1> rangeUnit{};
    std::array<FrameLayout, 3> frame{};  // 1..2: frames of groups 1 and 2
};

struct ConfigRecord {
    std::string inputType = "TC";  // TC, RTD, PR, ST, ACV, ACC, FP

    // The operator's picks: option number counted from 1 for item i of group g.
    PerItem<int> choice = allOnes();
    // 1 Input 1, 2 Desired output 1, 3 Input 2, 4 Desired output 2, as typed.
    std::array<std::string, 5> scalingText{"", "00.0000", "00.0000", "10.0000", "10.0000"};
    std::string gateTimeText = "000";      // register 0D ("FP" only)
    std::string debounceTimeText = "001";  // register 0E ("FP" only)

    OptionCatalogue catalogue;

    // Derived texts (refreshDerivedLabels / typeNameOf).
    std::string inputTypeName;
    std::string outputFullScaleText = "20.0000";
    std::string outputUnitText = "  mA";
    std::string temperatureSuffix;  // "C ", "F " or "K " for "TC"/"RTD", "" otherwise
    std::string readingUnitText;
    // The analog output mode caption that selects a voltage output, in its padded form.
    std::string voltOptionCaption = "  Volt     ";

    // 1..10: set when the operator clicks an option list while group g is open.
    std::array<int, kMaxItems + 1> groupTouched{};

    // The encoder's mode marker: "NA" while a configuration file is coded, "" otherwise. With
    // "NA" the scale and offset registers are neither decoded nor put into the live display.
    std::string modeMarker;

    static PerItem<int> allOnes() {
        PerItem<int> ones{};
        for (auto& group : ones) group.fill(1);
        return ones;
    }
};

}  // namespace sigcond
