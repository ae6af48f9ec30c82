// Feeds arbitrary reply texts and arbitrary doubles (bit for bit from the input: huge, tiny,
// negative, NaN, infinities, denormals) through the texts of the live display. Besides the
// sanitizers it checks the shapes the display relies on: seven characters with a point, three
// decimals cut and not rounded, an output value held within its band whatever the scale and
// offset, and the over-range mark decided by the first "E" alone.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/convert.h"
#include "measure/reading_format.h"

namespace {

using namespace sigcond;

void require(bool condition) {
    if (!condition) std::abort();
}

double doubleFrom(const std::uint8_t* bytes) {
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "-?digits.digits" with exactly `decimals` digits after the point (any number when -1).
bool isPlainDecimal(std::string_view text, int decimals) {
    if (!text.empty() && text[0] == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point == 0) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != point && !isDigit(text[i])) return false;
    return decimals < 0 || text.size() - point - 1 == static_cast<std::size_t>(decimals);
}

// Values the general form writes without an exponent: what the display meets in practice.
bool writtenPlain(double value) { return numberToText(value).find('E') == std::string::npos; }

void checkSevenCharacters(std::string_view text) {
    const std::string seven = fitToSevenCharacters(text);
    const double value = textToNumber(text);
    // Seven characters for every value written without an exponent and for the tiny ones;
    // 1E+15 and above (never a reading or an output) keep their first seven characters'
    // value in whatever form that has.
    if (writtenPlain(value) || std::fabs(value) < 1) {
        require(seven.size() == 7);
    } else {
        require(seven.size() >= 7 &&
                seven.find_first_not_of("0123456789.-+E") == std::string::npos);
    }
    // Up to six places before the point (five and a minus sign) the text has a point and
    // keeps the value up to the last digit that fits, cut toward zero.
    if (writtenPlain(value) && value < 1e6 && value > -1e5) {
        require(isPlainDecimal(seven, -1));
        const double shown = textToNumber(seven);
        const std::size_t decimals = seven.size() - seven.find('.') - 1;
        require(std::fabs(shown - value) <= std::pow(10.0, -static_cast<double>(decimals)) + 1e-9);
        require(std::fabs(shown) <= std::fabs(value) * (1 + 1e-14));
    }
    if (std::fabs(value) < 1e-6 && value != 0) require(textToNumber(seven) == 0);
}

void checkThreeDecimals(std::string_view text) {
    const std::string three = formatThreeDecimals(text);
    const double value = textToNumber(text);
    const std::size_t point = three.find('.');
    require(point != std::string::npos && three.size() - point - 1 == 3);
    if (std::fabs(value) < 1e15) {
        require(isPlainDecimal(three, 3));
        const double shown = textToNumber(three);
        require(std::fabs(shown) <= std::fabs(value) * (1 + 1e-14));  // cut toward zero
        require(std::fabs(value) - std::fabs(shown) < 0.001 + 1e-9 * std::fabs(value));
        require((three[0] == '-') == (value <= -0.001));
    }
    const std::string ac = formatAcReading(text);
    require(ac.size() <= 6 && !ac.empty() && ac.back() == ' ');
}

void checkOutputValue(std::string_view reading, double scale, double offset, bool voltage) {
    const double fullScale = voltage ? 10 : 20;
    const double out = computeOutputValue(reading, scale, offset, fullScale);
    require(std::isfinite(out));
    require(out >= -0.014 * fullScale && out <= 1.2 * fullScale);
    const std::string label = outputValueText(reading, scale, offset, fullScale);
    require(label.size() >= 6 && label.back() == ' ');
    const std::string number = label.substr(0, label.size() - 1);
    require(isPlainDecimal(number, 3));
    // Seven characters and then three decimals, both cut: within 0.0011 of the value.
    require(std::fabs(textToNumber(number) - out) < 0.0011);
}

void checkOverRange(const std::string& reply) {
    const std::string marked = markOverRange(reply);
    const std::size_t e = reply.find('E');
    if (e == std::string::npos) {
        require(marked == reply);
        return;
    }
    const bool minusBefore = reply.substr(0, e).find('-') != std::string::npos;
    require(marked == (minusBefore ? "?-999999" : "?+999999"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkSevenCharacters(text);
    checkThreeDecimals(text);
    checkOverRange(text);
    if (size < 1) return 0;
    const bool voltage = data[0] & 1;
    // Up to four doubles from the rest: each as a reading written the way the unit's texts
    // are, and pairs of them as scale and offset.
    double previous = 1.0;
    for (std::size_t at = 1; at + sizeof(double) <= size && at < 33; at += sizeof(double)) {
        const double value = doubleFrom(data + at);
        const std::string written = numberToText(value);
        checkSevenCharacters(written);
        checkThreeDecimals(written);
        checkOutputValue(written, previous, value, voltage);
        checkOutputValue(text, value, previous, voltage);
        previous = value;
    }
    checkOutputValue(text, 0.8, 4, voltage);
    return 0;
}
