#include "measure/reading_format.h"

#include <cmath>
#include <cstdio>

#include "common/convert.h"

namespace sigcond {

namespace {

// Text of a number in plain decimal form (no exponent) for the display formats: the general
// form for ordinary values, a fixed form for the tiny magnitudes the general form writes with
// an exponent.
std::string plainText(double value) {
    std::string text = numberToText(value);
    if (text.find('E') == std::string::npos) return text;
    if (std::fabs(value) >= 1.0) return text;  // huge values do not occur after clamping
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15f", value);
    text = buffer;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0" || text.empty()) text = "0";
    return text;
}

}  // namespace

double computeOutputValue(std::string_view readingText, double scale, double offset,
                          double fullScale) {
    const double reading = textToNumber(readingText);
    double out = offset + scale * reading;
    if (std::isnan(out)) out = 0.0;
    const double high = 1.2 * fullScale;
    const double low = -0.014 * fullScale;
    if (out > high) {
        out = high;
    } else if (out < low) {
        out = low;
    }
    return out;
}

std::string fitToSevenCharacters(std::string_view numberText) {
    double value = textToNumber(numberText);
    const std::string general = numberToText(value);
    const std::size_t length = general.size();
    // Exponent form of a small magnitude ("1.5E-05"): below 1E-06 the value counts as 0.
    if (length > 3 && general.compare(length - 4, 2, "E-") == 0) {
        const int exponent = static_cast<int>(textToNumber(general.substr(length - 2)));
        if (exponent >= 7) value = 0.0;
    }
    std::string text = plainText(textToNumber(plainText(value).substr(0, 7)));
    if (text.size() < 7) {
        if (text.find('.') == std::string::npos) text += '.';
        text.append(7 - text.size(), '0');
    }
    return text;
}

std::string formatThreeDecimals(std::string_view numberText) {
    const double value = textToNumber(numberText);
    if (std::fabs(value) < 0.001) return "0.000";
    std::string text = plainText(value);
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        point = text.size();
        text += '.';
    }
    const std::size_t decimals = text.size() - point - 1;
    if (decimals > 3) {
        text.resize(point + 4);
    } else {
        text.append(3 - decimals, '0');
    }
    return text;
}

std::string outputValueText(std::string_view readingText, double scale, double offset,
                            double fullScale) {
    const double out = computeOutputValue(readingText, scale, offset, fullScale);
    return formatThreeDecimals(fitToSevenCharacters(numberToText(out))) + " ";
}

std::string markOverRange(std::string reply) {
    std::string sign = "?+";
    const std::size_t count = reply.size();  // fixed before the scan
    for (std::size_t i = 0; i < count && i < reply.size(); ++i) {
        if (reply[i] == '-') {
            sign = "?-";
        } else if (reply[i] == 'E') {
            reply = sign + "999999";
        }
    }
    return reply;
}

bool scansForOverRange(std::string_view inputType) {
    return inputType == "ST" || inputType == "PR" || inputType == "FP";
}

std::string formatAcReading(std::string_view replyText) {
    return formatThreeDecimals(replyText).substr(0, 5) + " ";
}

}  // namespace sigcond
