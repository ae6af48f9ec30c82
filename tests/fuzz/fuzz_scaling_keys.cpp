// Types arbitrary keys into the analog output scaling boxes, in two ways: into the key filter
// alone (a box of every kind, typed into from empty), and into the scaling panel of a main
// screen in demo work, with focus changes, Enter, OK and Cancel among the keys. Besides the
// sanitizers it checks what a box may ever hold (the entry limits, one point, a sign only in
// front of an input, no point in a counting input), that only keys outside the accepted set
// beep, that Cancel gives the texts back as they were when the panel opened, and that an
// accepted OK leaves scaling values the unit can be sent.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "measure/scaling_panel.h"
#include "program.h"
#include "quiet_doubles.h"
#include "reused_program.h"
#include "sim/model/virtual_clock.h"
#include "ui/main_screen_ops.h"
#include "ui/numeric_entry.h"

namespace {

using namespace sigcond;

void require(bool condition) {
    if (!condition) std::abort();
}

bool isDigit(int key) { return key >= '0' && key <= '9'; }

bool inAcceptedSet(int key) {
    return isDigit(key) || key == '.' || key == '-' || key == kKeyBackspace || key == kKeyEnter;
}

bool isInputBox(int box) { return box == 0 || box == 2; }

// What a box may hold after typing into it from empty.
void checkBoxText(const EntryBoxState& state, const std::string& text) {
    const std::size_t points = std::count(text.begin(), text.end(), '.');
    require(points <= 1);
    const std::size_t minus = text.find('-');
    if (minus != std::string::npos) {
        require(minus == 0 && text.find('-', 1) == std::string::npos);
        require(isInputBox(state.box) && !state.frequencyUnit);
    }
    if (isInputBox(state.box) && state.frequencyUnit && state.countingMode) require(points == 0);
    if (isInputBox(state.box) && state.widened) {
        require(text.size() - points <= 8);
    } else {
        require(text.size() <= (points == 1 ? 7u : 6u));
    }
}

// Applies a verdict to the text the way the box does (the caret stays at the end).
void applyKey(std::string& text, int key, KeyVerdict verdict) {
    if (verdict != KeyVerdict::Accept) return;
    if (key == kKeyBackspace) {
        if (!text.empty()) text.pop_back();
    } else {
        text += static_cast<char>(key);
    }
}

void checkFilter(std::uint8_t flags, const std::uint8_t* keys, std::size_t count) {
    EntryBoxState state;
    state.box = flags & 3;
    state.widened = flags & 4;
    state.frequencyUnit = flags & 8;
    state.countingMode = state.frequencyUnit && (flags & 16);
    for (std::size_t n = 0; n < count; ++n) {
        const int key = keys[n];
        const KeyVerdict verdict = filterScalingKey(state, key);
        require((verdict == KeyVerdict::RefuseWithBeep) == !inAcceptedSet(key));
        require((verdict == KeyVerdict::Confirm) == (key == kKeyEnter));
        if (key == kKeyBackspace) require(verdict == KeyVerdict::Accept);
        applyKey(state.text, key, verdict);
        checkBoxText(state, state.text);
    }
}

// The operator's answers to the panel's message boxes, taken in turn from a byte.
class PanelDialogs : public Dialogs {
public:
    std::uint8_t answerBits = 0;
    int beeps = 0;
    int messages = 0;
    bool lastWasSameOutputs = false;

    Answer messageBox(const std::string& text, Buttons buttons, Icon, const std::string&) override {
        ++messages;
        lastWasSameOutputs = text.find("should be different") != std::string::npos;
        const bool bit = (answerBits >> (messages % 8)) & 1;
        switch (buttons) {
            case Buttons::OkCancel:
                return bit ? Answer::Cancel : Answer::Ok;
            case Buttons::YesNo:
                return bit ? Answer::Yes : Answer::No;
            case Buttons::AbortRetryIgnore:
                return bit ? Answer::Retry : Answer::Ignore;
            default:
                return Answer::Ok;
        }
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&,
                                        std::optional<InputBoxPosition>) override {
        return std::nullopt;
    }
    void beep() override { ++beeps; }
    void processEvents() override {}
    void runModal(const std::string&) override {}
};

// Events of the panel session, one byte each.
constexpr std::uint8_t kFocusFirst = 0x80;  // 0x80..0x83: click into Text1(0..3)
constexpr std::uint8_t kOk = 0x84;
constexpr std::uint8_t kCancel = 0x85;
constexpr std::uint8_t kReopen = 0x86;

void checkAcceptedScaling(Program& p) {
    const double fullScale = textToNumber(p.config.outputFullScaleText);
    const double output1 = textToNumber(p.form1.Text1[1].caption);
    const double output2 = textToNumber(p.form1.Text1[3].caption);
    const double input1 = textToNumber(p.form1.Text1[0].caption);
    const double input2 = textToNumber(p.form1.Text1[2].caption);
    require(output1 >= 0 && output1 <= fullScale && output2 >= 0 && output2 <= fullScale);
    require(std::fabs(input1 - input2) > 0.1);
    // The values the panel accepted can be coded for the unit.
    p.transfer.partialSend = 0;
    if (encodeConfiguration(p)) {
        require(std::isfinite(p.live.outputScale) && std::isfinite(p.live.outputOffset));
        require(p.registers.registerText[4].size() == 24);
    }
    p.link.linkError = 0;
    p.screen.abortFlag = 0;
}

// What a session leaves behind, to compare a reused program's session with a fresh one's.
struct SessionEnd {
    std::array<std::string, 5> scalingText;
    std::array<std::string, 4> boxText;
    int beeps = 0;
    int messages = 0;
    bool operator==(const SessionEnd&) const = default;
};

SessionEnd checkPanelSession(Program& p, PanelDialogs& dialogs, const std::uint8_t* data,
                             std::size_t size) {
    const int modes = p.config.catalogue.choiceCount[kGroupMode][1];
    if (modes > 0) p.config.choice[kGroupMode][1] = 1 + data[1] % modes;
    dialogs.answerBits = data[2];
    analogOutputScalingMenu(p);

    std::array<std::string, 5> opened = p.live.savedScalingText;
    int box = -1;           // the box typed into, -1 before the first click
    bool tracking = false;  // the box's text is what was typed since the click
    std::string typed;
    int expectedBeeps = 0;
    for (std::size_t n = 3; n < size; ++n) {
        const std::uint8_t event = data[n];
        // The boxes and the panel's buttons are there only while the panel is open.
        if (!p.form1.Frame2.visible && event != kReopen) continue;
        if (event >= kFocusFirst && event < kFocusFirst + 4) {
            box = event - kFocusFirst;
            text1GotFocus(p, box);
            require(p.form1.Text1[box].caption.empty());
            for (int i = 0; i < 4; ++i)
                if (i != box) require(p.config.scalingText[i + 1] == p.form1.Text1[i].caption);
            tracking = true;
            typed.clear();
        } else if (event == kOk) {
            const int messagesBefore = dialogs.messages;
            scalingOk(p);
            tracking = false;
            if (p.live.scalingAccepted == 1 &&
                !(dialogs.messages > messagesBefore && dialogs.lastWasSameOutputs)) {
                checkAcceptedScaling(p);
                expectedBeeps = dialogs.beeps;  // a refused coding is reported with a beep
            }
        } else if (event == kCancel) {
            scalingCancel(p);
            for (int i = 1; i <= 4; ++i) {
                require(p.config.scalingText[i] == opened[i]);
                require(p.form1.Text1[i - 1].caption == opened[i]);
            }
            tracking = false;
        } else if (event == kReopen) {
            analogOutputScalingMenu(p);
            opened = p.live.savedScalingText;
            for (int i = 1; i <= 4; ++i) require(opened[i] == p.config.scalingText[i]);
            tracking = false;
        } else if (box >= 0) {
            int key = event;
            if (!inAcceptedSet(key)) ++expectedBeeps;
            const bool enter = key == kKeyEnter;
            text1KeyPress(p, box, key);
            if (enter) {
                tracking = false;
            } else if (key != 0) {
                std::string text = p.form1.Text1[box].caption;
                applyKey(text, key, KeyVerdict::Accept);
                text1Change(p, box, text);
                if (tracking) typed = text;
            }
            if (tracking) {
                require(p.form1.Text1[box].caption == typed);
                EntryBoxState state;
                state.box = box;
                state.widened = p.form1.Text1[0].width > p.live.normalBoxWidth;
                state.frequencyUnit = p.config.inputType == "FP";
                state.countingMode = state.frequencyUnit && p.config.choice[kGroupMode][1] != 1;
                checkBoxText(state, typed);
            }
        }
        require(dialogs.beeps == expectedBeeps);
    }
    SessionEnd end;
    end.scalingText = p.config.scalingText;
    for (int i = 0; i < 4; ++i) end.boxText[i] = p.form1.Text1[i].caption;
    end.beeps = dialogs.beeps;
    end.messages = dialogs.messages;
    return end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    checkFilter(data[0], data + 3, size - 3);
    const int type = data[0] % 7;
    auto& reused = fuzz::reusedProgram<PanelDialogs>(type);
    const SessionEnd end = checkPanelSession(reused.program, reused.dialogs, data, size);
    if (fuzz::checkAgainstFreshProgram()) {
        fuzz::BuiltProgram<PanelDialogs> fresh(type);
        require(checkPanelSession(fresh.program, fresh.dialogs, data, size) == end);
    }
    return 0;
}
