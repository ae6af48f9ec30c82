// Turning the unit's reading into the texts of the live display: the analog output value the
// configuration makes of it, its 7-character and 3-decimal forms, and the over-range mark.
// None of these throws; a text that holds no number counts as 0.
#pragma once

#include <string>
#include <string_view>

namespace sigcond {

// Output value for a reading text: offset + scale * reading, held within
// -0.014 x fullScale .. 1.2 x fullScale (-0.28 .. 24 mA, -0.14 .. 12 V).
double computeOutputValue(std::string_view readingText, double scale, double offset,
                          double fullScale);

// The number in the text as at most 7 characters with a decimal point, padded with "0"s to 7
// ("4" -> "4.00000", "12.34567" -> "12.3456"); magnitudes below 1E-06 count as 0.
std::string fitToSevenCharacters(std::string_view numberText);

// The number in the text with exactly 3 decimals, cut (not rounded) after the third:
// "4" -> "4.000", "12.34567" -> "12.345", "-0.28" -> "-0.280". Magnitudes below 0.001 give
// "0.000".
std::string formatThreeDecimals(std::string_view numberText);

// Output label text for a reading: the output value in 3 decimals followed by one blank.
std::string outputValueText(std::string_view readingText, double scale, double offset,
                            double fullScale);

// Over-range scan of a strain, process or frequency reading: an "E" in the reply turns the
// whole reply into "?+999999", or "?-999999" when a "-" stands before the "E". Other replies
// are returned unchanged.
std::string markOverRange(std::string reply);

// True for the input types whose replies are scanned for the over-range "E".
bool scansForOverRange(std::string_view inputType);

// The AC reading form: 3 decimals, first 5 characters, one blank ("1.23456" -> "1.234 ").
std::string formatAcReading(std::string_view replyText);

}  // namespace sigcond
