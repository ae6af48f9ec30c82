// The option registers (01, 02, 04, 03, 0D, 0E) and the order of encoding and decoding.
// The scaling numbers (slot 4, registers 05/06) are in scaling_codec.cpp.
#include "config/register_codec.h"

#include <algorithm>
#include <cmath>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_fields.h"
#include "config/scaling_codec.h"
#include "program.h"

namespace sigcond {

namespace {

constexpr std::size_t kByteWidth = 2;
// Gate and debounce registers may be wider than a byte; at most this many digits are read.
constexpr std::size_t kTimeRegisterMaxWidth = 8;

bool hasResolution(std::string_view type) { return type != kTypeACV && type != kTypeACC; }

int pick(const ConfigRecord& rec, int g, int i) {
    return g >= 1 && g <= kGroupCount && i >= 1 && i <= kMaxItems ? rec.choice[g][i] : 1;
}

// Registers 01 and 02: the fields' codes in an eight-bit text, as two hex digits.
std::string encodeBitRegister(const ConfigRecord& rec, int g, const std::vector<BitField>& fields) {
    std::string bits(8, '0');
    for (const BitField& f : fields) {
        const int code = std::max(codeOfOption(f, pick(rec, g, f.item)), 0) & ((1 << f.width) - 1);
        for (int b = 0; b < f.width; ++b)
            if (code & (1 << b)) bits[7 - (f.lowBit + b)] = '1';
    }
    return padLeftZeros(binaryToHex(bits), kByteWidth);
}

void decodeBitRegister(ConfigRecord& rec, int g, const std::vector<BitField>& fields,
                       std::string_view text) {
    const int byte = hexDigitValue(text[0]) * 16 + hexDigitValue(text[1]);
    for (const BitField& f : fields) {
        if (f.item < 1 || f.item > kMaxItems) continue;
        const int value = (byte >> f.lowBit) & ((1 << f.width) - 1);
        rec.choice[g][f.item] = optionOfValue(f, value);
    }
}

// "0" then the hex digit of a small code.
std::string digitRegister(int code) { return std::string("0") + hexDigit(code); }

// Registers 0D/0E: the hex text of the typed count, at least two digits. A count below zero
// (never accepted by the entry) is coded as 0 so that no sign reaches the unit.
std::string encodeTimeRegister(const std::string& text) {
    const double value = std::max(textToNumber(text), 0.0);
    return padLeftZeros(numberToHex(value), kByteWidth);
}

std::string decodeTimeRegister(std::string_view text) {
    const std::size_t width = std::clamp(text.size(), kByteWidth, kTimeRegisterMaxWidth);
    return numberToText(hexToNumber(fitRegisterText(text, width)));
}

}  // namespace

bool encodeConfiguration(Program& p) {
    ConfigRecord& rec = p.config;
    RegisterImage& image = p.registers;
    const int slots = std::clamp(image.encodedGroupCount, 0, 6);
    for (int g = 1; g <= slots; ++g) {
        switch (g) {
            case 1:
                image.registerText[1] = encodeBitRegister(rec, 1, inputFields(rec.inputType));
                break;
            case 2:
                image.registerText[2] = encodeBitRegister(rec, 2, modeFields(rec.inputType));
                break;
            case 3:
                image.registerText[3] = digitRegister(pick(rec, kGroupFilter, 1) - 1);
                break;
            case 4:
                if (p.transfer.partialSend == 0 && !encodeScaling(p)) return false;
                break;
            case 5:
                image.registerText[5] = encodeTimeRegister(rec.gateTimeText);
                break;
            case 6:
                image.registerText[6] = encodeTimeRegister(rec.debounceTimeText);
                break;
        }
    }
    if (hasResolution(rec.inputType))
        image.registerText[7] = digitRegister(pick(rec, kGroupResolution, 1));
    return true;
}

void decodeConfiguration(Program& p) {
    ConfigRecord& rec = p.config;
    RegisterImage& image = p.registers;
    const std::string& type = rec.inputType;
    const int slots = std::clamp(image.encodedGroupCount, 0, 6);
    for (int s = 1; s <= slots; ++s) {
        const std::string& text = image.registerText[s];
        switch (s) {
            case 1:
                decodeBitRegister(rec, 1, inputFields(type), fitRegisterText(text, kByteWidth));
                break;
            case 2:
                decodeBitRegister(rec, 2, modeFields(type), fitRegisterText(text, kByteWidth));
                break;
            case 3: {
                const int value = static_cast<int>(hexToNumber(fitRegisterText(text, kByteWidth)));
                rec.choice[kGroupFilter][1] = std::min(value + 1, 8);
                break;
            }
            case 4:
                decodeScalingPoints(p);
                break;
            case 5:
                rec.gateTimeText = decodeTimeRegister(text);
                break;
            case 6:
                rec.debounceTimeText = decodeTimeRegister(text);
                break;
        }
    }
    if (hasResolution(type)) {
        // 0, or more than the type offers, gives the highest option.
        const int highest = type == kTypeTC || type == kTypeRTD ? 3 : type == kTypeST ? 5 : 6;
        const int value =
            static_cast<int>(hexToNumber(fitRegisterText(image.registerText[7], kByteWidth)));
        rec.choice[kGroupResolution][1] = value == 0 || value > highest ? highest : value;
    }
    if (rec.modeMarker != "NA") decodeScaleRegisters(p);
}

}  // namespace sigcond
