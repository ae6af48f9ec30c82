#include "sim/model/reading_source.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace sigcond::sim {

ReadingSource ReadingSource::fixed(double value, int decimals) {
    ReadingSource source;
    source.kind = Kind::Value;
    source.value = value;
    source.decimals = decimals;
    return source;
}

ReadingSource ReadingSource::wave(double centre, double amplitude, double periodSeconds,
                                  int decimals) {
    ReadingSource source;
    source.kind = Kind::Wave;
    source.waveCentre = centre;
    source.waveAmplitude = amplitude;
    source.wavePeriodSeconds = periodSeconds;
    source.decimals = decimals;
    return source;
}

ReadingSource ReadingSource::verbatim(std::string text) {
    ReadingSource source;
    source.kind = Kind::Text;
    source.text = std::move(text);
    return source;
}

ReadingSource ReadingSource::counting(int decimals) {
    ReadingSource source;
    source.kind = Kind::Count;
    source.decimals = decimals;
    return source;
}

std::string formatReading(double value, int decimals) {
    constexpr int kWidth = 7;
    if (!std::isfinite(value)) return value < 0 ? kOverRangeLow : kOverRangeHigh;
    if (decimals < 0) decimals = 0;
    if (decimals > 5) decimals = 5;
    for (int shown = decimals; shown >= 0; --shown) {
        char digits[64];
        if (shown == 0) {
            std::snprintf(digits, sizeof digits, "%.0f.", value);
        } else {
            std::snprintf(digits, sizeof digits, "%.*f", shown, value);
        }
        const std::string text = digits;
        if (static_cast<int>(text.size()) <= kWidth) {
            return std::string(kWidth - text.size(), ' ') + text;
        }
    }
    return value < 0 ? kOverRangeLow : kOverRangeHigh;
}

std::string readingText(const ReadingSource& source, double seconds, long sequence) {
    switch (source.kind) {
        case ReadingSource::Kind::Count:
            return formatReading(static_cast<double>(sequence), source.decimals);
        case ReadingSource::Kind::Text:
            return source.text;
        case ReadingSource::Kind::Wave: {
            const double period = source.wavePeriodSeconds > 0 ? source.wavePeriodSeconds : 60.0;
            const double phase = 2.0 * std::numbers::pi * std::fmod(seconds, period) / period;
            return formatReading(source.waveCentre + source.waveAmplitude * std::sin(phase),
                                 source.decimals);
        }
        case ReadingSource::Kind::Value:
            break;
    }
    return formatReading(source.value, source.decimals);
}

}  // namespace sigcond::sim
