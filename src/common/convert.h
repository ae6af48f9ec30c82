// Conversions between numbers and the texts that the unit, the screens and the files carry.
// Every number in this program travels as text; these helpers never throw.
#pragma once

#include <string>
#include <string_view>

namespace sigcond {

// Leading numeric part of a text: blanks before it are skipped, an optional sign, digits with
// at most one ".", and an optional exponent ("E" or "D", sign, digits). No number gives 0.
double textToNumber(std::string_view text);

// Shortest general form with up to 15 significant digits and "." as decimal point.
// Magnitudes below 1E-04 use exponent form ("1E-07", "1.5E-05"), magnitudes of 1E+15 and above
// use "1E+15". Values below 1 keep a "0" before the point ("0.25", "-0.5").
// With leadingBlank, a non-negative number gets one blank in front (" 4", "-4").
std::string numberToText(double value, bool leadingBlank = false);

// Value of a hexadecimal text: each character counts as (code - 55) if its code is 60 or more,
// else (code - 48); the empty text gives 0. Characters outside 0-9/A-F are counted the same way.
double hexToNumber(std::string_view hex);

// Four binary digits per hexadecimal digit, in order. A character outside 0-9/A-F counts as 0.
std::string hexToBinary(std::string_view hex);

// Upper-case hexadecimal text of a text of binary digits, without leading zeros ("0" for zero).
std::string binaryToHex(std::string_view bits);

// Upper-case hexadecimal text of a number, without leading zeros; a non-integer is first rounded
// to the nearest integer with halves to even. Negative values give the hex text of their
// magnitude with a leading "-"; values beyond 2^63 are clamped.
std::string numberToHex(double value);

// Zeros put in front until the text has `width` characters; a longer text is left as it is.
std::string padLeftZeros(std::string text, std::size_t width);

}  // namespace sigcond
