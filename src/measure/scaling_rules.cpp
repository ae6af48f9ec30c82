#include "measure/scaling_rules.h"

#include <cmath>

#include "common/convert.h"

namespace sigcond {

ScalingCheck checkScalingEntry(const std::array<std::string, 4>& boxText, double outputFullScale,
                               const std::string& outputUnitText, bool fromDesiredOutput1,
                               int liveStep, const std::string& input1Caption,
                               const std::string& input2Caption) {
    const double input1 = textToNumber(boxText[0]);
    const double output1 = textToNumber(boxText[1]);
    const double input2 = textToNumber(boxText[2]);
    const double output2 = textToNumber(boxText[3]);
    const bool fullChecks = fromDesiredOutput1 && liveStep != 1;

    if (output1 > outputFullScale || output2 > outputFullScale ||
        (fullChecks && (output1 < 0 || output2 < 0))) {
        return {ScalingFault::Range,
                "'Desired output 1'  or  'Desired output 2'  should be between  0  and  " +
                    numberToText(outputFullScale, true) + outputUnitText};
    }
    if (fullChecks && std::fabs(input1 - input2) <= 0.1) {
        return {ScalingFault::Span,
                "| " + input2Caption + "  -  " + input1Caption + " |  SHOULD BE BIGGER THAN  0.1"};
    }
    if (fullChecks && output1 == output2) {
        return {ScalingFault::SameOutputs,
                "'Desired output 1'  should be different from 'Desired output 2'"};
    }
    return {};
}

namespace {

// Largest mantissa a scale register holds (its top bit is the sign).
constexpr double kMaxScaleMantissa = 0x7FFFF;
constexpr int kMaxScaleDigit = 15;

std::string scaleCodeOf(int digit, double mantissa) {
    static const char* const kHex = "0123456789ABCDEF";
    return std::string(1, kHex[digit]) + padLeftZeros(numberToHex(mantissa), 5);
}

}  // namespace

std::string unityScaleCode(std::string_view inputType, double outputFullScale, double rangeFactor) {
    if (inputType == "TC" || inputType == "RTD") {
        return outputFullScale == 10 ? "300001" : "300002";
    }
    if (inputType != "PR" && inputType != "ST" && inputType != "ACV" && inputType != "ACC") {
        return "";
    }
    if (!(rangeFactor > 0)) return "";
    const double inputFullScale = 100000.0 / rangeFactor;
    const double v = outputFullScale / inputFullScale;
    if (!std::isfinite(v) || v <= 0) return "";
    // Decimals of v's text; a quotient with more decimals than the register holds is rounded
    // to the most decimals that still fit.
    const std::string text = numberToText(v);
    const std::size_t point = text.find('.');
    int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    if (text.find('E') != std::string::npos) decimals = kMaxScaleDigit - 1;
    if (decimals > kMaxScaleDigit - 1) decimals = kMaxScaleDigit - 1;
    while (decimals > 0 && std::round(v * std::pow(10.0, decimals)) > kMaxScaleMantissa) {
        --decimals;
    }
    const double mantissa = std::round(v * std::pow(10.0, decimals));
    if (mantissa < 1 || mantissa > kMaxScaleMantissa) return "";
    return scaleCodeOf(decimals + 1, mantissa);
}

double scaleCodeValue(std::string_view code) {
    if (code.empty()) return 0.0;
    const double digit = hexToNumber(code.substr(0, 1));
    const double mantissa = hexToNumber(code.substr(1));
    return mantissa / std::pow(10.0, digit - 1);
}

}  // namespace sigcond
