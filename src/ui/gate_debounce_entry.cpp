#include "ui/gate_debounce_entry.h"

#include <array>
#include <optional>

#include "common/convert.h"
#include "config/send_config.h"
#include "program.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

// The accepted range of each typed setting and the fault code it reports outside it.
struct CountRange {
    const char* settingName;
    double maximum;
    bool zeroAllowed;  // the gate count 0 is valid (the unit then gates for 3 ms)
    int errorCode;
};

constexpr std::array<CountRange, 2> kCountRanges{{
    {kGateTimeName, 240, true, kGateOutOfRange},
    {kDebounceTimeName, 255, false, kDebounceOutOfRange},
}};

const CountRange* rangeOf(const std::string& settingName) {
    for (const auto& range : kCountRanges) {
        if (settingName == range.settingName) return &range;
    }
    return nullptr;
}

// Fault texts by code; index 0 is unused.
const std::array<std::string, 6> kFaultTexts{
    "",
    "You have entered invalid number.\r\nPlease enter again.",
    "The input should not be  more than 3 digits .\r\nPlease enter again.",
    "The input should be  from 0 to 240.\r\nPlease enter again.",
    "The input should be  from 1 to 255.\r\nPlease enter again.",
    "The input should be an integer. \r\nPlease enter again.",
};

// A repeated box stands here (twips from the screen's left and top) so that it does not cover
// the first one's place.
constexpr InputBoxPosition kRepeatedBoxPosition{800, 3000};

// The character-by-character part of the check; returns a fault code, or 0 / 5 when the answer
// may go on to the range test.
int checkCharacters(const std::string& answer) {
    int error = kCountAccepted;
    int digits = 0;
    bool inNumber = true;
    bool beforeFirstDigit = true;
    bool pointSeen = false;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        const char c = answer[i];
        if (c >= '0' && c <= '9') {
            // A digit after a blank that followed earlier digits splits the number in two.
            if (!inNumber && !beforeFirstDigit) return kCountInvalid;
            beforeFirstDigit = false;
            inNumber = true;
            if (++digits > 3) return kCountTooLong;
        } else if (c == '-') {
            if (i != 0) return kCountInvalid;
        } else if (c == '.') {
            if (pointSeen) return kCountInvalid;
            pointSeen = true;
            error = kCountNotInteger;
        } else if (c == ' ') {
            inNumber = false;  // leading and trailing blanks are accepted
        } else {
            return kCountInvalid;
        }
    }
    return error;
}

}  // namespace

int checkTypedCount(const std::string& settingName, const std::string& answer) {
    int error = checkCharacters(answer);
    if (error != kCountAccepted && error != kCountNotInteger) return error;
    const CountRange* range = rangeOf(settingName);
    if (range == nullptr) return error;
    const double value = textToNumber(answer);  // the empty answer counts as 0
    const bool belowRange = range->zeroAllowed ? value < 0 : (!answer.empty() && value <= 0);
    if (belowRange || value > range->maximum) error = range->errorCode;
    return error;
}

std::string typedCountFaultText(int errorCode) {
    if (errorCode < 1 || errorCode >= static_cast<int>(kFaultTexts.size())) return "";
    return kFaultTexts[static_cast<std::size_t>(errorCode)];
}

void enterGateOrDebounce(Program& p, const std::string& settingName, std::string& value,
                         const std::string& unitText, const std::string& note) {
    const std::string shownNote = note == kNoNote ? "" : " if 0 then " + note;
    const std::string before = value;

    std::string prompt = "Enter the value for " + settingName + "\r\n" + "one count = " +
                         unitText + "\r" + "\r" + shownNote;
    std::string defaultText = value;
    std::optional<InputBoxPosition> position;  // the first box stands where the platform puts it
    bool rejected = false;
    for (;;) {
        const std::string answer =
            p.dialogs.inputBox(prompt, settingName, defaultText, position).value_or("");
        const int error = checkTypedCount(settingName, answer);
        // The record holds what was typed, blanks included, even while it is being rejected.
        if (!answer.empty()) value = answer;
        if (error == kCountAccepted) {
            if (answer.empty() && rejected) value = before;
            break;
        }
        rejected = true;
        p.dialogs.beep();
        prompt = typedCountFaultText(error) + "\r\n" + "one count = " + unitText + shownNote;
        defaultText = answer;
        position = kRepeatedBoxPosition;
    }
    if (value != before) {
        refreshSummaryValues(p);  // the gate and debounce lines show the new value
        offerToSendNow(p);
    }
}

void onGateTimeMenu(Program& p) {
    commitPendingPanel(p);
    backToSummary(p);
    enterGateOrDebounce(p, kGateTimeName, p.config.gateTimeText, "10 ms", "\rGate time = 3 ms");
}

void onDebounceTimeMenu(Program& p) {
    commitPendingPanel(p);
    backToSummary(p);
    enterGateOrDebounce(p, kDebounceTimeName, p.config.debounceTimeText, "5 ms", kNoNote);
}

}  // namespace sigcond
