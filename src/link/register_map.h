// The unit's register map as data: which register holds which slot of the register image,
// its width and its default text, and the registers outside the image.
#pragma once

#include <array>
#include <string_view>

namespace sigcond {

struct RegisterImage;
struct Program;

struct RegisterSlotInfo {
    std::string_view number;       // register number sent after "R"/"W" ("" for slots 4 and 7)
    std::string_view readCommand;  // first read command of the slot
    int width;                     // hex digits
    std::string_view defaultText;  // "" = no default
    bool frequencyOnly;            // present for "FP" units only
};

// Index = slot (0 unused). Slot 4 is read with "R3C" then "R3D" and holds the 3D data followed
// by the 3C data; slot 7 (register 03, resolution) has no default and is absent for "ACV"/"ACC".
inline constexpr std::array<RegisterSlotInfo, 8> kRegisterSlots{{
    {"", "", 0, "", false},
    {"01", "R01", 2, "29", false},
    {"02", "R02", 2, "46", false},
    {"04", "R04", 2, "06", false},
    {"", "R3C", 24, "000000000000000000000000", false},
    {"0D", "R0D", 2, "FF", true},
    {"0E", "R0E", 2, "FB", true},
    {"", "R03", 2, "", false},
}};

inline constexpr int kSlotScalePoints = 4;
inline constexpr int kSlotGateTime = 5;
inline constexpr int kSlotResolution = 7;
inline constexpr int kScalePairWidth = 12;     // data of "R3C"/"R3D"/"W3C"/"W3D"
inline constexpr int kScaleRegisterWidth = 6;  // registers 05 and 06
inline constexpr int kTypeCodeWidth = 2;       // data of "U01"

// The scale-read table: entry 1 reads the output scale, entry 2 the output offset.
inline constexpr std::array<std::string_view, 3> kScaleReadCommands{"", "R05", "R06"};

// Register 08 is write-only; the program always writes this value at the end of a transfer.
inline constexpr std::string_view kSettleRegister = "08";
inline constexpr std::string_view kSettleValue = "14";

// Slots in use for an input type: 6 for "FP", 4 otherwise.
int encodedGroupCountFor(std::string_view inputType);
// Register 03 (resolution) exists for every type except "ACV" and "ACC".
bool hasResolutionRegister(std::string_view inputType);

// registerNumber 1..6 from the map (slot 4 has none).
void fillRegisterNumbers(RegisterImage& image);
// Default texts of slots 1..6 and encodedGroupCount for the input type; slot 7 is left alone.
void setRegisterDefaults(RegisterImage& image, std::string_view inputType);

}  // namespace sigcond
