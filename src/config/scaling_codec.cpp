// Slot 4 (the four scaling numbers, registers 3C/3D) and registers 05/06 (output scale and
// offset).
#include "config/scaling_codec.h"

#include <algorithm>
#include <cmath>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "config/register_fields.h"
#include "program.h"
#include "ui/error_reports.h"

namespace sigcond {

namespace {

constexpr std::size_t kCodeWidth = 6;
constexpr std::size_t kMagnitudeWidth = 5;
constexpr double kMagnitudeMax = 0xFFFFF;       // five hex digits
constexpr double kCountLimit = 8388600;         // larger counts are sent divided by 100
constexpr double kCountDividedFlag = 0x800000;  // bit 23: the count was divided by 100
constexpr double kCountDecodeThreshold = 8400000;
constexpr double kCodeMax = 0xFFFFFF;
constexpr double kScaleLimit = 524000;
constexpr double kOffsetLimit = 1000000;
// The most negative offset the code holds: the largest mantissa read with the lowest exponent
// digit (mantissa x 100). Down to it a negative offset only loses digits.
constexpr double kOffsetLowest = -kOffsetLimit * 100;
constexpr int kScaleMaxExponent = 15;
constexpr int kOffsetMaxExponent = 7;
constexpr int kOutputDecimalsDigit = 5;  // outputs are always coded with four decimals

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool countingMode(const ConfigRecord& rec) {
    return rec.inputType == kTypeFP && rec.choice[kGroupMode][1] != 1;
}

// Scale (n = 1) or offset (n = 2) as the unit's exponent-and-mantissa code.
std::string encodeLineValue(double value, int n) {
    const double limit = n == 1 ? kScaleLimit : kOffsetLimit;
    const double lowest = n == 1 ? -kScaleLimit : kOffsetLowest;
    const int maxExponent = n == 1 ? kScaleMaxExponent : kOffsetMaxExponent;
    if (std::isnan(value)) value = 0;
    value = std::clamp(value, lowest, limit);

    std::string text = numberToText(value);
    int x = 0;
    const std::size_t e = text.find('E');
    if (e != std::string::npos) {
        if (e + 1 < text.size() && text[e + 1] == '-') {
            x = std::atoi(text.c_str() + e + 2);
            text.resize(e);
        } else {
            text = numberToText(limit);
        }
    }
    int s = !text.empty() && text[0] == '-' ? 8 : 0;
    const std::size_t point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    int dp = decimals == 0 ? 1 : decimals;
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9') digits += c;
    double v = std::floor(textToNumber(digits) * std::pow(10.0, dp - decimals) + 0.5);
    while (v > limit) {
        v = std::floor(v / 10);
        --dp;
    }
    dp += x + n;
    if (dp > maxExponent) {
        v = std::floor(v / std::pow(10.0, dp - maxExponent));
        dp = maxExponent;
    }
    if (v == 0) {
        dp = n;
        s = 0;
    }
    std::string h = numberToHex(v);
    if (n == 2) return std::string(1, hexDigit(dp + s)) + padLeftZeros(h, kMagnitudeWidth);
    if (h.size() == 5)
        h[0] = hexDigit(hexDigitValue(h[0]) + s);
    else
        h = std::string(1, hexDigit(s)) + padLeftZeros(h, kMagnitudeWidth - 1);
    return std::string(1, hexDigit(dp)) + h;
}

double pow10(int exponent) { return std::pow(10.0, exponent); }

}  // namespace

std::string encodeScalingValue(std::string_view typed, bool output, bool counting) {
    const std::string text = trimBlanks(typed);
    if (counting && !output) {
        double count = std::max(textToNumber(text), 0.0);
        if (count > kCountLimit) count = std::floor(count / 100) + kCountDividedFlag;
        return padLeftZeros(numberToHex(std::min(count, kCodeMax)), kCodeWidth);
    }
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t point = text.find('.');
    int d = point == std::string::npos ? 0 : static_cast<int>(text.size() - point);
    if (output) d = kOutputDecimalsDigit;
    if (d == 0) d = 1;
    // The format digit holds D in three bits and a code is read back through six decimal
    // digits (five when negative): decimals that do not fit are rounded away, so a text longer
    // than an entry can be still gives a code of six digits.
    const double value = std::fabs(textToNumber(text));
    const double widest = negative ? 99999 : 999999;
    d = std::min(d, negative ? 6 : 7);
    while (!output && d > 1 && std::nearbyint(value * pow10(d - 1)) > widest) --d;
    const double magnitude = std::min(value * pow10(d - 1), kMagnitudeMax);
    return std::string(1, hexDigit((negative ? 8 : 0) + d)) +
           padLeftZeros(numberToHex(magnitude), kMagnitudeWidth);
}

std::string decodeScalingValue(std::string_view code, bool output, bool counting) {
    const std::string c = fitRegisterText(code, kCodeWidth);
    if (counting && !output) {
        double count = hexToNumber(c);
        if (count > kCountDecodeThreshold) count = (count - kCountDividedFlag) * 100;
        return numberToText(count);
    }
    const int first = hexDigitValue(c[0]);
    const bool negative = (first & 8) != 0;
    int d = output ? kOutputDecimalsDigit : (first & 7);
    if (negative && d == 7) d = 6;
    const std::size_t width = negative ? kMagnitudeWidth : kCodeWidth;
    std::string digits = padLeftZeros(numberToText(hexToNumber(c.substr(1))), width);
    digits.resize(width);
    const std::size_t decimals = static_cast<std::size_t>(std::max(d - 1, 0));
    const std::size_t whole = width - std::min(decimals, width);
    return (negative ? "-" : "") + digits.substr(0, whole) + "." + digits.substr(whole);
}

std::string encodeScaleCode(double scale) { return encodeLineValue(scale, 1); }
std::string encodeOffsetCode(double offset) { return encodeLineValue(offset, 2); }

double decodeScaleCode(std::string_view code) {
    const std::string c = fitRegisterText(code, kCodeWidth);
    double mantissa = hexToNumber(c.substr(1));
    const bool negative = mantissa >= 0x80000;
    if (negative) mantissa -= 0x80000;
    const double value = mantissa / pow10(hexDigitValue(c[0]) - 1);
    return negative ? -value : value;
}

double decodeOffsetCode(std::string_view code) {
    const std::string c = fitRegisterText(code, kCodeWidth);
    const int first = hexDigitValue(c[0]);
    const double value = hexToNumber(c.substr(1)) / pow10((first & 7) - 2);
    return (first & 8) ? -value : value;
}

bool encodeScaling(Program& p) {
    ConfigRecord& rec = p.config;
    RegisterImage& image = p.registers;
    refreshDerivedLabels(p);

    // The line is drawn through the captured live readings where they replace the typed
    // inputs, so the checks look at those values too.
    double in1 = textToNumber(trimBlanks(rec.scalingText[1]));
    double in2 = textToNumber(trimBlanks(rec.scalingText[3]));
    const double out1 = textToNumber(trimBlanks(rec.scalingText[2]));
    const double out2 = textToNumber(trimBlanks(rec.scalingText[4]));
    if (p.live.capturedInput[1]) in1 = *p.live.capturedInput[1];
    if (p.live.capturedInput[2]) in2 = *p.live.capturedInput[2];

    if (!(std::fabs(in2 - in1) >= 0.1)) {
        showError(p, kErrorInputsTooClose);
        return false;
    }
    const double fullScale = textToNumber(rec.outputFullScaleText);
    const auto inRange = [fullScale](double out) { return out >= 0 && out <= fullScale; };
    if (!inRange(out1) || !inRange(out2)) {
        showError(p, kErrorOutputRange);
        return false;
    }

    const bool counting = countingMode(rec);
    const std::string code1 = encodeScalingValue(rec.scalingText[1], false, counting);
    const std::string code2 = encodeScalingValue(rec.scalingText[2], true, counting);
    const std::string code3 = encodeScalingValue(rec.scalingText[3], false, counting);
    const std::string code4 = encodeScalingValue(rec.scalingText[4], true, counting);
    image.scalePairLow = code2 + code1;
    image.scalePairHigh = code4 + code3;
    image.registerText[4] = image.scalePairHigh + image.scalePairLow;

    // The span check keeps the divisor away from zero; an input span too wide for a double
    // gives a scale of 0. The limits keep both codes inside their fields; a large negative
    // offset (a counter far from zero) is coded with fewer digits rather than cut.
    double scale = (out2 - out1) / (in2 - in1);
    if (!std::isfinite(scale)) scale = 0;
    scale = std::clamp(scale, -kScaleLimit, kScaleLimit);
    double offset = out1 - scale * in1;
    if (std::isnan(offset)) offset = 0;
    offset = std::clamp(offset, kOffsetLowest, kOffsetLimit);
    image.scaleOffset[1] = encodeScaleCode(scale);
    image.scaleOffset[2] = encodeOffsetCode(offset);
    if (rec.modeMarker != "NA") {
        p.live.outputScale = scale;
        p.live.outputOffset = offset;
    }
    return true;
}

void decodeScalingPoints(Program& p) {
    ConfigRecord& rec = p.config;
    const std::string slot = fitRegisterText(p.registers.registerText[4], 24);
    const bool counting = countingMode(rec);
    // Characters 13-24: output then input of point 1; characters 1-12: of point 2.
    rec.scalingText[2] = decodeScalingValue(slot.substr(12, 6), true, counting);
    rec.scalingText[1] = decodeScalingValue(slot.substr(18, 6), false, counting);
    rec.scalingText[4] = decodeScalingValue(slot.substr(0, 6), true, counting);
    rec.scalingText[3] = decodeScalingValue(slot.substr(6, 6), false, counting);
}

void decodeScaleRegisters(Program& p) {
    p.live.outputScale = decodeScaleCode(p.registers.scaleRegisterText[1]);
    p.live.outputOffset = decodeOffsetCode(p.registers.scaleRegisterText[2]);
}

}  // namespace sigcond
