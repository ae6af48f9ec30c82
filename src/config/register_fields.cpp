#include "config/register_fields.h"

#include <algorithm>
#include <array>

namespace sigcond {

namespace {

using R = DecodeRule;

const std::vector<BitField> kNone{};

// Register 01, by type. Bits not listed stay 0.
const std::vector<BitField> kInputTC{{1, 0, 4, R::FirstAbove, 10}, {2, 7, 1}};
const std::vector<BitField> kInputRTD{
    {1, 0, 2, R::Resistance}, {2, 2, 1}, {3, 3, 1}, {4, 4, 2, R::Clamp, 3}, {5, 7, 1}};
const std::vector<BitField> kInputPR{{1, 0, 4, R::FirstAbove, 6}, {2, 4, 1}, {3, 5, 1}, {4, 7, 1}};
const std::vector<BitField> kInputST{{1, 0, 4, R::Clamp, 2}, {2, 5, 1}, {3, 4, 1}, {4, 7, 1}};
// Codes 4..F of the AC range all give the last range (the unit knows only four).
const std::vector<BitField> kInputAC{{1, 0, 4, R::Clamp, 4}, {2, 7, 1}};
const std::vector<BitField> kInputFP{
    {1, 0, 1}, {2, 1, 1}, {3, 2, 2, R::Clamp, 3}, {4, 4, 2, R::Clamp, 3}};

// Register 02, by type. Bit 7 is the analog output mode everywhere; bit 6 is always 0.
const std::vector<BitField> kModeTC{{1, 0, 2, R::Clamp, 3}, {2, 2, 1}, {3, 7, 1}};
const std::vector<BitField> kModeRTD{{1, 0, 2, R::Clamp, 3}, {2, 7, 1}};
const std::vector<BitField> kModePR{{1, 1, 1}, {2, 5, 1}, {3, 7, 1}};
const std::vector<BitField> kModeOutputOnly{{1, 7, 1}};
const std::vector<BitField> kModeFP{{1, 0, 5, R::OneBitMode}, {2, 7, 1}};

struct TypeFields {
    std::string_view type;
    const std::vector<BitField>* input;
    const std::vector<BitField>* mode;
};

const std::array<TypeFields, 7> kTypeFields{{
    {"TC", &kInputTC, &kModeTC},
    {"RTD", &kInputRTD, &kModeRTD},
    {"PR", &kInputPR, &kModePR},
    {"ST", &kInputST, &kModeOutputOnly},
    {"ACV", &kInputAC, &kModeOutputOnly},
    {"ACC", &kInputAC, &kModeOutputOnly},
    {"FP", &kInputFP, &kModeFP},
}};

const TypeFields* findFields(std::string_view type) {
    for (const TypeFields& f : kTypeFields)
        if (f.type == type) return &f;
    return nullptr;
}

}  // namespace

std::string fitRegisterText(std::string_view text, std::size_t width) {
    std::string fitted(width, '0');
    for (std::size_t n = 0; n < width && n < text.size(); ++n) {
        const char c = text[n];
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) fitted[n] = c;
    }
    return fitted;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

char hexDigit(int value) { return "0123456789ABCDEF"[std::clamp(value, 0, 15)]; }

const std::vector<BitField>& inputFields(std::string_view inputType) {
    const TypeFields* f = findFields(inputType);
    return f ? *f->input : kNone;
}

const std::vector<BitField>& modeFields(std::string_view inputType) {
    const TypeFields* f = findFields(inputType);
    return f ? *f->mode : kNone;
}

int codeOfOption(const BitField& field, int option) {
    if (field.rule == DecodeRule::Resistance) {
        static constexpr int kResistanceCodes[4] = {3, 0, 1, 2};
        return option >= 1 && option <= 4 ? kResistanceCodes[option - 1] : 0;
    }
    if (field.rule == DecodeRule::OneBitMode)
        return option >= 1 && option <= 4 ? 1 << kModeBits[option - 1] : 0;
    return option - 1;
}

int optionOfValue(const BitField& field, int value) {
    switch (field.rule) {
        case DecodeRule::Plain:
            return value + 1;
        case DecodeRule::Clamp:
            return std::min(value + 1, field.limit);
        case DecodeRule::FirstAbove:
            return value + 1 > field.limit ? 1 : value + 1;
        case DecodeRule::Resistance:
            return value == 3 ? 1 : value + 2;
        case DecodeRule::OneBitMode:
            // Frequency, else Quadrature, else A - B, else Totalize (also when no bit is set).
            for (int k = 1; k <= 3; ++k)
                if (value & (1 << kModeBits[k - 1])) return k;
            return 4;
    }
    return 1;
}

}  // namespace sigcond
