// Internal to the codec: reading register texts safely and the bit layouts of registers 01
// and 02 as data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sigcond {

// The register text fitted to `width` characters for decoding: characters beyond the width
// are ignored, a missing character or one outside "0"-"9"/"A"-"F" counts as "0".
std::string fitRegisterText(std::string_view text, std::size_t width);

// Value 0..15 of one hexadecimal digit; anything else gives 0.
int hexDigitValue(char c);
// The hexadecimal digit of 0..15 (clamped into that range).
char hexDigit(int value);

// How a field's value turns back into an option number.
enum class DecodeRule {
    Plain,       // value + 1
    Clamp,       // value + 1, at most `limit`
    FirstAbove,  // value + 1, option 1 when that exceeds `limit`
    Resistance,  // RTD resistance: code 3 is option 1, code v option v + 2
    OneBitMode,  // FP mode: one bit per option, see modeBits
};

// One item's field in register 01 (group 1) or 02 (group 2).
struct BitField {
    int item;
    int lowBit;  // bit 0 = least significant
    int width;   // bits
    DecodeRule rule = DecodeRule::Plain;
    int limit = 0;
};

// The "FP" mode bits: option k sets bit kModeBits[k - 1].
inline constexpr int kModeBits[4] = {0, 2, 3, 4};

// Fields of register 01 (group 1) and 02 (group 2) of an input type; empty for an unknown type.
const std::vector<BitField>& inputFields(std::string_view inputType);
const std::vector<BitField>& modeFields(std::string_view inputType);

// Option number -> code for an item; code -> option number for a decoded field value.
int codeOfOption(const BitField& field, int option);
int optionOfValue(const BitField& field, int value);

}  // namespace sigcond
