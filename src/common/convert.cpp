#include "common/convert.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace sigcond {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Removes trailing zeros of a fixed or mantissa text ("1.500" -> "1.5", "2." -> "2").
std::string trimFraction(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

}  // namespace

double textToNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string digits;
    if (i < n && (text[i] == '+' || text[i] == '-')) digits += text[i++];
    bool seenDigit = false;
    bool seenPoint = false;
    while (i < n) {
        const char c = text[i];
        if (isDigit(c)) {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else {
            break;
        }
        ++i;
    }
    if (!seenDigit) return 0.0;
    // Exponent part, only when it is complete ("1E" alone stays 1).
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        std::size_t expDigits = 0;
        while (j < n && isDigit(text[j]) && expDigits < 6) {
            exponent += text[j++];
            ++expDigits;
        }
        if (expDigits > 0) digits += exponent;
    }
    char* end = nullptr;
    const double value = std::strtod(digits.c_str(), &end);
    if (!std::isfinite(value)) return value > 0 ? 1.79769313486231E+308 : -1.79769313486231E+308;
    return value;
}

std::string numberToText(double value, bool leadingBlank) {
    std::string text;
    if (std::isinf(value)) value = value > 0 ? 1.79769313486231E+308 : -1.79769313486231E+308;
    if (std::isnan(value)) {
        text = "0";
    } else if (value == 0.0) {
        text = "0";
    } else {
        const double magnitude = std::fabs(value);
        char buffer[64];
        if (magnitude < 1e-4 || magnitude >= 1e15) {
            std::snprintf(buffer, sizeof buffer, "%.14E", value);
            std::string s = buffer;
            const std::size_t e = s.find('E');
            std::string mantissa = trimFraction(s.substr(0, e));
            const int exponent = std::atoi(s.c_str() + e + 1);
            char expText[16];
            std::snprintf(expText, sizeof expText, "E%c%02d", exponent < 0 ? '-' : '+',
                          exponent < 0 ? -exponent : exponent);
            text = mantissa + expText;
        } else {
            std::snprintf(buffer, sizeof buffer, "%.15G", value);
            text = buffer;
            if (text.find('E') != std::string::npos) {
                // %G chose exponent form for a value we show in fixed form: widen it.
                std::snprintf(buffer, sizeof buffer, "%.15f", value);
                text = buffer;
            }
            text = trimFraction(text);
        }
    }
    if (leadingBlank && !text.empty() && text[0] != '-') text = " " + text;
    return text;
}

double hexToNumber(std::string_view hex) {
    double value = 0.0;
    for (const char ch : hex) {
        const int code = static_cast<unsigned char>(ch);
        const int digit = code >= 60 ? code - 55 : code - 48;
        value = value * 16.0 + digit;
    }
    return value;
}

std::string hexToBinary(std::string_view hex) {
    std::string bits;
    bits.reserve(hex.size() * 4);
    for (const char ch : hex) {
        int digit = 0;
        if (ch >= '0' && ch <= '9') digit = ch - '0';
        else if (ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
        for (int b = 3; b >= 0; --b) bits += ((digit >> b) & 1) ? '1' : '0';
    }
    return bits;
}

std::string binaryToHex(std::string_view bits) {
    std::uint64_t value = 0;
    for (const char ch : bits) value = (value << 1) | (ch == '1' ? 1u : 0u);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string numberToHex(double value) {
    if (std::isnan(value)) return "0";
    double rounded = std::nearbyint(value);  // default rounding mode: halves to even
    const bool negative = rounded < 0;
    double magnitude = std::fabs(rounded);
    if (magnitude > 9.2e18) magnitude = 9.2e18;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(magnitude));
    return negative ? std::string("-") + buffer : std::string(buffer);
}

std::string padLeftZeros(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

}  // namespace sigcond
