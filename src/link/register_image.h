// The unit's configuration as register texts (upper-case hexadecimal).
#pragma once

#include <array>
#include <string>

namespace sigcond {

struct RegisterImage {
    // Slots 1..12 (index 0 unused): 1 reg 01, 2 reg 02, 3 reg 04, 4 regs 3D+3C (24 digits),
    // 5 reg 0D, 6 reg 0E, 7 reg 03. Slots 8..12 are not used by the link.
    std::array<std::string, 13> registerText{};
    // Register numbers of slots 1..6 (index 0 unused); slot 4 has none.
    std::array<std::string, 7> registerNumber{};
    // Registers 05 (scale) and 06 (offset), index 1..2.
    std::array<std::string, 3> scaleRegisterText{};
    // The read commands "R05" and "R06", index 1..2, filled when the splash screen is left.
    std::array<std::string, 3> scaleReadCommand{};
    // Slots in use: 6 for "FP", 4 otherwise.
    int encodedGroupCount = 4;

    // Produced by the encoder next to the image: the data of "W3C" (code of Desired output 1
    // then Input 1) and "W3D" (Desired output 2 then Input 2), 12 digits each; slot 4 is
    // scalePairHigh followed by scalePairLow. scaleOffset 1..2 are the data of "W05" (output
    // scale) and "W06" (output offset), 6 digits each.
    std::string scalePairLow;
    std::string scalePairHigh;
    std::array<std::string, 3> scaleOffset{};
};

}  // namespace sigcond
