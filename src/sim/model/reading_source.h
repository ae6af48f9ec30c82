// What a unit answers to "X01": a reading text of seven characters, right-aligned like the
// unit's own display ("  12.34", "     0."), from a set value, a slow sine wave, or a text
// given as it is (over-range "?+99999", an "E" report, anything a test needs), or counting the
// readings answered (1, 2, 3 ...), so that every reading can be told from every other.
#pragma once

#include <string>

namespace sigcond::sim {

inline constexpr const char* kOverRangeHigh = "?+99999";
inline constexpr const char* kOverRangeLow = "?-99999";
inline constexpr const char* kErrorReading = "   E   ";
inline constexpr const char* kErrorReadingLow = "  -E   ";

struct ReadingSource {
    enum class Kind { Value, Wave, Text, Count };
    Kind kind = Kind::Value;
    double value = 0.0;
    double waveCentre = 0.0;
    double waveAmplitude = 10.0;
    double wavePeriodSeconds = 60.0;
    std::string text;
    int decimals = 2;  // decimals shown for Value and Wave readings

    static ReadingSource fixed(double value, int decimals = 2);
    static ReadingSource wave(double centre, double amplitude, double periodSeconds,
                              int decimals = 2);
    static ReadingSource verbatim(std::string text);
    static ReadingSource counting(int decimals = 2);
};

// Seven characters, right-aligned; no decimals gives a trailing point ("     0."). Fewer
// decimals are shown when the number needs the room; a number that cannot fit at all reads
// as over-range ("?+99999" or "?-99999").
std::string formatReading(double value, int decimals);

// The reading text at `seconds` on the unit's clock; a counting source shows `sequence`, the
// number of this reading among those answered.
std::string readingText(const ReadingSource& source, double seconds, long sequence = 0);

}  // namespace sigcond::sim
