// Serial line settings as the unit sees them: baud rate, parity letter, data bits, stop bits.
// Text form "9600,O,7,1", the same form the program sets on its port.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sigcond::sim {

struct LineSettings {
    int baud = 9600;
    char parity = 'O';  // 'O', 'E' or 'N'
    int dataBits = 7;
    int stopBits = 1;

    // "9600,O,7,1".
    std::string text() const;
    // Bits one character takes on the line: start bit, data bits, parity bit if any, stop bits.
    int bitsPerCharacter() const;
    // Seconds one character takes on the line at this baud rate.
    double characterSeconds() const;
    // Whether a unit set to `unit` understands what is sent at these settings. Only the baud
    // rate and the parity matter: extra stop bits are harmless and 7-bit text reads the same.
    bool understoodBy(const LineSettings& unit) const;

    // Parses "9600,O,7,1"; data bits and stop bits may be left out ("4800,E").
    static std::optional<LineSettings> parse(std::string_view text);

    bool operator==(const LineSettings&) const = default;
};

}  // namespace sigcond::sim
