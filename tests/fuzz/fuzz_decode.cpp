// Feeds arbitrary register texts to the decoder and arbitrary scaling, gate and debounce texts
// to the encoder, for every input type and mode. Besides the sanitizers it checks that decoded
// picks are options the lists offer, and that every coded register is hexadecimal of its width.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "program.h"
#include "quiet_doubles.h"
#include "reused_program.h"
#include "sim/model/virtual_clock.h"

namespace {

using namespace sigcond;
using fuzz::QuietDialogs;

void require(bool condition) {
    if (!condition) std::abort();
}

bool isHex(const std::string& text, std::size_t minWidth, std::size_t maxWidth) {
    if (text.size() < minWidth || text.size() > maxWidth) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::vector<std::string> splitFields(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> fields(1);
    for (std::size_t n = 0; n < size; ++n) {
        if (data[n] == '\n')
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[n]);
    }
    return fields;
}

// What a run leaves behind, to compare a reused program's run with a fresh one's.
struct RunEnd {
    std::array<std::string, 13> registerText;
    PerItem<int> choice;
    std::array<std::string, 5> scalingText;
    bool encoded = false;
    bool operator==(const RunEnd&) const = default;
};

RunEnd checkRun(Program& p, const std::uint8_t* data, std::size_t size) {
    const std::uint8_t flags = data[1];
    p.config.modeMarker = (flags & 1) ? "NA" : "";
    // Fields: register slots 1..7, registers 05 and 06, scaling texts 1..4, gate, debounce.
    std::vector<std::string> fields = splitFields(data + 2, size - 2);
    fields.resize(15);

    for (int s = 1; s <= 7; ++s) p.registers.registerText[s] = fields[s - 1];
    p.registers.scaleRegisterText[1] = fields[7];
    p.registers.scaleRegisterText[2] = fields[8];
    decodeConfiguration(p);
    const OptionCatalogue& cat = p.config.catalogue;
    for (int g : {1, 2, 3, 7})
        for (int i = 1; i <= cat.itemCount[g]; ++i)
            require(p.config.choice[g][i] >= 1 && p.config.choice[g][i] <= cat.choiceCount[g][i]);
    require(std::isfinite(p.live.outputScale) && std::isfinite(p.live.outputOffset));
    for (int k = 1; k <= 4; ++k) textToNumber(p.config.scalingText[k]);

    for (int k = 1; k <= 4; ++k) p.config.scalingText[k] = fields[8 + k];
    p.config.gateTimeText = fields[13];
    p.config.debounceTimeText = fields[14];
    if (flags & 2) p.live.capturedInput[1] = textToNumber(fields[9]) * ((flags & 4) ? -1 : 1);
    if (flags & 8) p.live.capturedInput[2] = textToNumber(fields[11]) / ((flags & 16) ? 7 : 1);
    p.transfer.partialSend = (flags & 32) ? 1 : 0;
    p.registers.registerText[4].clear();
    const bool encoded = encodeConfiguration(p);
    if (encoded) {
        for (int s = 1; s <= 3; ++s) require(isHex(p.registers.registerText[s], 2, 2));
        if (p.transfer.partialSend == 0) {
            require(isHex(p.registers.registerText[4], 24, 24));
            require(isHex(p.registers.scaleOffset[1], 6, 6));
            require(isHex(p.registers.scaleOffset[2], 6, 6));
            require(std::isfinite(p.live.outputScale) && std::isfinite(p.live.outputOffset));
        }
        if (p.registers.encodedGroupCount == 6) {
            require(isHex(p.registers.registerText[5], 2, 16));
            require(isHex(p.registers.registerText[6], 2, 16));
        }
    } else {
        require(p.link.linkError == 1 && p.screen.abortFlag == 1);
    }

    // The single-number codings on their own.
    for (int k = 1; k <= 4; ++k) {
        require(isHex(encodeScalingValue(fields[8 + k], k % 2 == 0, flags & 64), 6, 6));
        decodeScalingValue(fields[8 + k], k % 2 == 0, flags & 64);
    }
    const double v = textToNumber(fields[9]);
    require(isHex(encodeScaleCode(v), 6, 6));
    require(isHex(encodeOffsetCode(v), 6, 6));
    require(std::isfinite(decodeScaleCode(fields[7])));
    require(std::isfinite(decodeOffsetCode(fields[8])));
    return {p.registers.registerText, p.config.choice, p.config.scalingText, encoded};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int type = data[0] % 7;
    auto& reused = fuzz::reusedProgram<QuietDialogs>(type);
    const RunEnd end = checkRun(reused.program, data, size);
    if (fuzz::checkAgainstFreshProgram()) {
        fuzz::BuiltProgram<QuietDialogs> fresh(type);
        require(checkRun(fresh.program, data, size) == end);
    }
    return 0;
}
