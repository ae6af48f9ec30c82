// Feeds arbitrary texts and arbitrary doubles (taken bit for bit from the input, so NaN,
// infinities, denormals and the extremes all occur) through the number/text conversions.
// Besides the sanitizers it checks that text to number never gives NaN or an infinity, that
// number to text writes only the characters of a number and reads back to the same value,
// that a text's value ignores what follows the number and the blanks before it, and that the
// hexadecimal conversions round-trip.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/convert.h"

namespace {

using namespace sigcond;

void require(bool condition) {
    if (!condition) std::abort();
}

constexpr double kLargest = 1.79769313486231E+308;

double doubleFrom(const std::uint8_t* bytes) {
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'E';
}

bool startsNumber(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// The form number to text promises: the characters of a number, one point at most, no "-0",
// a "0" before the point of a value below 1, and an exponent only with its sign and digits.
void checkNumberText(const std::string& text, double value, bool leadingBlank) {
    std::string_view body = text;
    if (leadingBlank && !body.empty() && body[0] == ' ') body.remove_prefix(1);
    require(!body.empty() && body.size() <= 24);
    for (char c : body) require(isNumberCharacter(c));
    require(body.find('.') == body.rfind('.'));
    require(body != "-0");
    if (body[0] == '-') body.remove_prefix(1);
    require(!body.empty() && body[0] >= '0' && body[0] <= '9');
    const std::size_t e = body.find('E');
    if (e != std::string_view::npos) {
        require(e + 3 <= body.size());
        require(body[e + 1] == '+' || body[e + 1] == '-');
        for (std::size_t i = e + 2; i < body.size(); ++i) require(body[i] >= '0' && body[i] <= '9');
    }
    if (leadingBlank) require(text[0] == (value < 0 ? '-' : ' '));
}

// Text to number to text and back: 15 significant digits keep the value to within a few
// parts in 10^15.
void checkRoundTrip(double value) {
    const std::string text = numberToText(value);
    checkNumberText(text, value, false);
    checkNumberText(numberToText(value, true), value, true);
    const double back = textToNumber(text);
    require(std::isfinite(back));
    if (std::isnan(value)) {
        require(back == 0.0);
        return;
    }
    const double expected = std::isinf(value) ? std::copysign(kLargest, value) : value;
    require(std::fabs(back - expected) <= 1e-14 * std::fabs(expected) + 1e-320);
    // Once written, a value keeps its value through further writing and reading.
    require(textToNumber(numberToText(back)) == back);
}

// The value of a text is the value of its leading number: blanks before it and anything after
// it do not count, and a minus sign in front negates it.
void checkTextValue(std::string_view text) {
    const double value = textToNumber(text);
    require(std::isfinite(value));
    require(textToNumber("  " + std::string(text)) == value);
    if (!text.empty() && startsNumber(text[0])) {
        require(textToNumber("-" + std::string(text)) == -value);
    }
    const std::string written = numberToText(value);
    require(textToNumber(written + "V") == textToNumber(written));
    require(textToNumber(written + " 12") == textToNumber(written));
}

bool isUpperHex(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::string withoutLeadingZeros(std::string_view hex) {
    const std::size_t first = hex.find_first_not_of('0');
    return first == std::string_view::npos ? "0" : std::string(hex.substr(first));
}

void checkHex(std::string_view text, double value) {
    // Upper-case hex of up to 13 digits is exact in a double; up to 16 fits binaryToHex.
    if (isUpperHex(text) && text.size() <= 13) {
        const double parsed = hexToNumber(text);
        const std::string copy(text);
        require(parsed == static_cast<double>(std::strtoull(copy.c_str(), nullptr, 16)));
        require(numberToHex(parsed) == withoutLeadingZeros(text));
    }
    if (isUpperHex(text) && text.size() <= 16) {
        const std::string bits = hexToBinary(text);
        require(bits.size() == 4 * text.size());
        require(binaryToHex(bits) == withoutLeadingZeros(text));
    }
    std::size_t width = text.size() % 30;
    const std::string padded = padLeftZeros(std::string(text), width);
    require(padded.size() == (text.size() > width ? text.size() : width));
    require(padded.compare(padded.size() - text.size(), text.size(), text) == 0);

    // Whole numbers below 2^53 round-trip through their hex text, the sign kept in front.
    const std::string hex = numberToHex(value);
    const bool negative = !hex.empty() && hex[0] == '-';
    const std::string_view digits = std::string_view(hex).substr(negative ? 1 : 0);
    require(!digits.empty() && isUpperHex(digits));
    require(digits.size() == 1 || digits[0] != '0');
    if (std::isfinite(value) && std::fabs(value) < 9007199254740992.0) {
        const double magnitude = hexToNumber(digits);
        require((negative ? -magnitude : magnitude) == std::nearbyint(value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkTextValue(text);
    // Up to four doubles a run keep the runs short; the text above takes every byte.
    for (std::size_t at = 0; at + sizeof(double) <= size && at < 32; at += sizeof(double)) {
        const double value = doubleFrom(data + at);
        checkRoundTrip(value);
        checkHex(text.substr(0, at), value);
    }
    checkRoundTrip(textToNumber(text));
    checkHex(text, textToNumber(text));
    return 0;
}
