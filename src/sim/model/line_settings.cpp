#include "sim/model/line_settings.h"

#include <charconv>
#include <vector>

namespace sigcond::sim {

std::string LineSettings::text() const {
    return std::to_string(baud) + "," + parity + "," + std::to_string(dataBits) + "," +
           std::to_string(stopBits);
}

int LineSettings::bitsPerCharacter() const {
    return 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits;
}

double LineSettings::characterSeconds() const {
    return baud > 0 ? static_cast<double>(bitsPerCharacter()) / baud : 0.0;
}

bool LineSettings::understoodBy(const LineSettings& unit) const {
    return baud == unit.baud && parity == unit.parity;
}

namespace {

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<LineSettings> LineSettings::parse(std::string_view text) {
    std::vector<std::string_view> fields;
    while (true) {
        const auto comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (fields.size() < 2 || fields.size() > 4) return std::nullopt;
    LineSettings settings;
    const auto baud = parseInt(fields[0]);
    if (!baud || *baud <= 0) return std::nullopt;
    settings.baud = *baud;
    if (fields[1].size() != 1) return std::nullopt;
    char parity = fields[1][0];
    if (parity >= 'a' && parity <= 'z') parity = static_cast<char>(parity - 'a' + 'A');
    if (parity != 'O' && parity != 'E' && parity != 'N') return std::nullopt;
    settings.parity = parity;
    settings.stopBits = parity == 'N' ? 2 : 1;
    if (fields.size() >= 3) {
        const auto bits = parseInt(fields[2]);
        if (!bits || *bits < 5 || *bits > 8) return std::nullopt;
        settings.dataBits = *bits;
    }
    if (fields.size() == 4) {
        const auto stop = parseInt(fields[3]);
        if (!stop || (*stop != 1 && *stop != 2)) return std::nullopt;
        settings.stopBits = *stop;
    }
    return settings;
}

}  // namespace sigcond::sim
