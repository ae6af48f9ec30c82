// Feeds arbitrary answers to the typed gate time and debounce time: first to the check alone,
// then as an operator who types a series of answers into the input box and finally cancels.
// Besides the sanitizers it checks that the fault code is one the setting can report, that an
// accepted answer is a whole count within the setting's range, that every rejection beeps and
// asks again with its fault text at the repeated box's place, and that the setting ends with
// either its old value or an accepted answer, the send question asked only for a change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/convert.h"
#include "reused_program.h"
#include "ui/gate_debounce_entry.h"

namespace {

using namespace sigcond;

void require(bool condition) {
    if (!condition) std::abort();
}

struct Setting {
    const char* name;
    const char* unitText;
    const char* note;
    bool zeroAllowed;
    double maximum;
    int rangeCode;
};
constexpr Setting kSettings[] = {
    {kGateTimeName, "10 ms", "\rGate time = 3 ms", true, 240, kGateOutOfRange},
    {kDebounceTimeName, "5 ms", kNoNote, false, 255, kDebounceOutOfRange},
};

// The shape every answer that passes the character check has: blanks around one run of at most
// three digits, a "-" only in front, one "." at most.
bool passesCharacters(const std::string& answer) {
    std::size_t digitRuns = 0;
    std::size_t digits = 0;
    std::size_t points = 0;
    bool inDigits = false;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        const char c = answer[i];
        const bool digit = c >= '0' && c <= '9';
        if (digit && !inDigits) ++digitRuns;
        inDigits = digit || (inDigits && c == '.');
        if (digit)
            ++digits;
        else if (c == '.')
            ++points;
        else if (c == '-') {
            if (i != 0) return false;
        } else if (c != ' ') {
            return false;
        }
    }
    return digitRuns <= 1 && digits <= 3 && points <= 1;
}

void checkCode(const Setting* setting, const std::string& name, const std::string& answer) {
    const int code = checkTypedCount(name, answer);
    require(code >= kCountAccepted && code <= kCountNotInteger);
    require(code == kCountAccepted || !typedCountFaultText(code).empty());
    // Codes 1 and 2 are the character check's; the others come only after it passed.
    const bool shapeOk = passesCharacters(answer);
    require(shapeOk == (code != kCountInvalid && code != kCountTooLong));
    if (!shapeOk) return;
    if (setting == nullptr) {
        require(code == kCountAccepted || code == kCountNotInteger);
        return;
    }
    require(code !=
            (setting->rangeCode == kGateOutOfRange ? kDebounceOutOfRange : kGateOutOfRange));
    // The empty answer counts as 0; a debounce time of 0 or less is out of range.
    const double value = textToNumber(answer);
    const bool belowRange = setting->zeroAllowed ? value < 0 : (!answer.empty() && value <= 0);
    const bool inRange = !belowRange && value <= setting->maximum;
    require(inRange == (code != setting->rangeCode));
    require((code == kCountNotInteger) == (inRange && answer.find('.') != std::string::npos));
}

// The operator: one scripted answer per input box (nothing = Cancel), then Cancel; No to the
// send question. Records what was shown.
class OperatorDialogs : public Dialogs {
public:
    std::vector<std::optional<std::string>> answers;
    struct Box {
        std::string prompt, title, defaultText;
        std::optional<InputBoxPosition> position;
    };
    std::vector<Box> boxes;
    int beeps = 0;
    int sendQuestions = 0;

    Answer messageBox(const std::string& text, Buttons, Icon, const std::string&) override {
        if (text.find("send configuration") != std::string::npos) ++sendQuestions;
        return Answer::No;
    }
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText,
                                        std::optional<InputBoxPosition> position) override {
        boxes.push_back({prompt, title, defaultText, position});
        if (boxes.size() > answers.size()) return std::nullopt;
        return answers[boxes.size() - 1];
    }
    void beep() override { ++beeps; }
    void processEvents() override {}
    void runModal(const std::string&) override {}
};

void checkDialog(const Setting& setting, const std::string& before,
                 const std::vector<std::optional<std::string>>& answers) {
    // The entry changes nothing of the program but through the dialogs, so one program serves.
    auto& kept = fuzz::reusedProgram<OperatorDialogs>(0);
    OperatorDialogs& dialogs = kept.dialogs;
    dialogs.answers = answers;
    Program& p = kept.program;
    std::string value = before;
    enterGateOrDebounce(p, setting.name, value, setting.unitText, setting.note);

    // Walk the answers as the operator saw them.
    const std::size_t shown = dialogs.boxes.size();
    require(shown >= 1 && shown <= answers.size() + 1);
    int rejections = 0;
    std::string last;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto& box = dialogs.boxes[i];
        require(box.title == setting.name);
        if (i == 0) {
            require(!box.position.has_value() && box.defaultText == before);
            require(box.prompt.rfind("Enter the value for ", 0) == 0);
        } else {
            require(box.position.has_value() && box.position->leftTwips == 800 &&
                    box.position->topTwips == 3000);
            require(box.defaultText == last);
            require(box.prompt.rfind(typedCountFaultText(checkTypedCount(setting.name, last)), 0) ==
                    0);
        }
        last = i < answers.size() ? answers[i].value_or("") : "";
        const int code = checkTypedCount(setting.name, last);
        if (code != kCountAccepted) ++rejections;
        // Only the last box may end the dialog.
        require((code == kCountAccepted) == (i + 1 == shown));
    }
    require(dialogs.beeps == rejections);
    if (last.empty()) {
        require(value == before);
    } else {
        require(value == last && checkTypedCount(setting.name, value) == kCountAccepted);
    }
    require(dialogs.sendQuestions == (value != before ? 1 : 0));
}

std::vector<std::string> splitLines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines(1);
    for (std::size_t n = 0; n < size; ++n) {
        if (data[n] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[n]);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Setting& setting = kSettings[data[0] & 1];
    // Lines: the value before the dialog, then the answers; a line starting with byte 0xFF
    // stands for Cancel.
    const std::vector<std::string> lines = splitLines(data + 1, size - 1);
    for (const std::string& line : lines) {
        checkCode(&kSettings[0], kGateTimeName, line);
        checkCode(&kSettings[1], kDebounceTimeName, line);
        checkCode(nullptr, "Filter", line);
    }
    std::vector<std::optional<std::string>> answers;
    for (std::size_t i = 1; i < lines.size() && answers.size() < 16; ++i) {
        if (!lines[i].empty() && static_cast<unsigned char>(lines[i][0]) == 0xFF) {
            answers.push_back(std::nullopt);
        } else {
            answers.push_back(lines[i]);
        }
    }
    checkDialog(setting, lines[0], answers);
    return 0;
}
