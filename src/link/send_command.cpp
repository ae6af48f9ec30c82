#include "link/send_command.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/convert.h"
#include "program.h"
#include "ui/error_reports.h"
#include "ui/numeric_entry.h"

namespace sigcond {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr std::string_view kReplyLetters = "WXRZU?";  // a reply starts with one of these
constexpr int kMaxNoiseCharacters = 10;
constexpr int kMaxRejections = 2;  // resends after a "?" reply
constexpr std::string_view kFrequencyZero = "     0.";
constexpr int kDeferredReadingMinimum = 6;  // characters that make a reading complete
constexpr double kTimeTolerance = 1e-6;     // seconds; absorbs rounding of the clock

bool isReading(const std::string& command) { return command == "X01"; }

// Data characters from position 4 on: all of them, or at most `length`.
std::string replyData(const std::string& reply, int length, bool all) {
    if (reply.size() <= 3) return {};
    if (all) return reply.substr(3);
    return reply.substr(3, static_cast<std::size_t>(std::max(length, 0)));
}

// Writes the frame and collects the reply until a carriage return arrives in the newest chunk
// or the timeout has passed. Blocks on the port between reads instead of spinning.
void transmitAndWait(Program& p, const std::string& command) {
    LinkState& link = p.link;
    link.replyText.clear();
    link.linkError = 0;
    const bool written = p.port.write("*" + command + kCarriageReturn);

    link.replyTimeout = 2;
    if (link.longTimeoutOnce) link.replyTimeout = 4;
    link.longTimeoutOnce = false;
    if (link.settledCount < 2) link.replyTimeout = 1;

    // A port that refused the frame gets no answer: the exchange ends as with a silent unit.
    if (!written) return;

    const double start = p.clock.monotonicSeconds();
    for (;;) {
        const double elapsed = p.clock.monotonicSeconds() - start;
        const std::string chunk = p.port.readAll();
        link.replyText += chunk;
        // While the unit was silent the live poll only looks what came; every other exchange
        // waits for its reply.
        if (link.quickPollMode && isReading(command)) break;
        if (chunk.find(kCarriageReturn) != std::string::npos) break;
        if (elapsed >= link.replyTimeout - kTimeTolerance) break;
        const double left = link.replyTimeout - (p.clock.monotonicSeconds() - start);
        if (left > 0) {
            const int sliceMs =
                std::clamp(static_cast<int>(std::ceil(left * 1000.0)), 1, kWaitSliceMs);
            p.port.waitForData(sliceMs);
        }
    }
}

// Calls over which a frequency reading that is not ready yet is awaited, sized by the gate
// time register. Kept within 0..1000 so that a value that is not a two-digit hex text can
// neither overflow nor leave a count that never runs out.
int deferralPolls(const std::string& gateRegisterValue) {
    double v = hexToNumber(gateRegisterValue);
    if (v == 0) v = 3;
    const double polls = std::floor(v / 100.0 * 15.0 + 15.0);
    return static_cast<int>(std::clamp(polls, 0.0, 1000.0));
}

void reportSilentUnit(Program& p) {
    // The answer was lost with the port itself: during the read that is a wrong port.
    if (p.link.readingConfiguration && p.port.failed()) {
        reportPortFailure(p);
        return;
    }
    if (p.live.liveStep == 0) {
        if (p.transfer.unitIdentified == 0) p.form1.CNF.enabled = false;
        showError(p, kErrorCommunication);
        return;
    }
    p.dialogs.beep();
    p.form1.Picture2.visible = true;
    abandonEntry(p);
    p.link.linkError = 1;
}

}  // namespace

void reportUnansweredCommand(Program& p) { reportSilentUnit(p); }

void reportPortFailure(Program& p) {
    p.form1.Command5.visible = true;
    showError(p, kErrorWrongPort);
    p.link.linkError = 2;
}

void sendCommand(Program& p, const std::string& command, int replyLength) {
    LinkState& link = p.link;
    const bool reading = isReading(command);
    const bool frequencyUnit = p.config.inputType == "FP";
    int rejections = 0;
    link.replyText.clear();
    link.rejected = false;

    if (link.deferredPolls != 0 && !reading) {
        // A pending frequency reading never swallows another command: the reading is given
        // up, its late answer dropped, and the command is sent.
        link.deferredPolls = 0;
        p.port.readAll();
    }

    bool transmit = true;
    if (link.deferredPolls != 0) {
        // A frequency reading is pending: look whether it has arrived, without sending.
        if (!link.quickPollMode) {
            --link.deferredPolls;
            if (p.port.waitingCount() >= kDeferredReadingMinimum) {
                link.replyText = p.port.readAll();
            } else {
                link.replyText = link.deferredPolls <= 0 ? "" : link.lastFrequencyReading;
                if (link.deferredPolls < 0) link.deferredPolls = 0;
                return;
            }
        }
        transmit = false;
    }

    for (;;) {
        if (transmit) transmitAndWait(p, command);
        transmit = true;

        // A frequency reading that is not ready is not a failure: the previous reading stands
        // in while the following calls wait for it.
        if (reading && link.replyText.empty() && frequencyUnit && link.deferredPolls == 0 &&
            !link.quickPollMode) {
            link.deferredPolls = deferralPolls(link.gateRegisterValue);
            link.settledCount = 0;
            link.replyText = link.lastFrequencyReading;
            return;
        }
        link.deferredPolls = 0;
        link.settledCount = std::min(link.settledCount + 1, 3);

        if (link.identifyMode) {
            link.replyHead = link.replyText.substr(0, 1);
            link.replyText = replyData(link.replyText, replyLength, false);
            break;
        }

        if (link.replyText.empty() && command.substr(0, 1) != "X") {
            reportSilentUnit(p);
            return;
        }

        // Leftovers of an earlier answer, or line noise, in front of the echo.
        std::size_t noise = 0;
        while (noise < link.replyText.size() && noise < kMaxNoiseCharacters &&
               kReplyLetters.find(link.replyText[noise]) == std::string_view::npos) {
            ++noise;
        }
        link.replyText.erase(0, noise);

        if (!link.replyText.empty() && link.replyText[0] == '?' && rejections < kMaxRejections) {
            ++rejections;
            continue;
        }
        link.rejected = !reading && !link.replyText.empty() && link.replyText[0] == '?';
        link.replyText = replyData(link.replyText, replyLength, reading);
        break;
    }

    if (frequencyUnit && reading) {
        if (link.replyText.find('X') != std::string::npos) link.replyText = kFrequencyZero;
        link.lastFrequencyReading = link.replyText;
    }
}

}  // namespace sigcond
