// The scaling boxes Text1(0..3) while the operator types: the focus rule, the key filter and the
// text reaching the screen model. Confirming an entry is the scaling panel's.
#include <string>

#include "measure/scaling_panel.h"
#include "program.h"
#include "ui/numeric_entry.h"

namespace sigcond {

namespace {

constexpr int kBlack = 0x000000;
constexpr int kRed = 0xFF0000;
constexpr std::size_t kWidenedBoxLimit = 8;

bool isInputBox(int box) { return box == 0 || box == 2; }

std::string boxFocusName(int box) { return "Text1(" + std::to_string(box) + ")"; }

}  // namespace

KeyVerdict filterScalingKey(const EntryBoxState& state, int keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (keyAscii == kKeyEnter) return KeyVerdict::Confirm;
    if (keyAscii == kKeyBackspace) return KeyVerdict::Accept;
    if (!digit && keyAscii != '.' && keyAscii != '-') return KeyVerdict::RefuseWithBeep;

    const bool hasPoint = state.text.find('.') != std::string::npos;
    const std::size_t entryLimit = hasPoint ? 7 : 6;
    if (digit) {
        const bool widenedBox = isInputBox(state.box) && state.widened;
        const std::size_t limit = widenedBox ? kWidenedBoxLimit : entryLimit;
        return state.text.size() >= limit ? KeyVerdict::Refuse : KeyVerdict::Accept;
    }
    if (keyAscii == '.') {
        if (hasPoint) return KeyVerdict::Refuse;
        if (isInputBox(state.box) && state.frequencyUnit && state.countingMode) {
            return KeyVerdict::Refuse;
        }
        return KeyVerdict::Accept;
    }
    // '-': a sign for the inputs only, typed first.
    if (!isInputBox(state.box) || state.frequencyUnit || !state.text.empty()) {
        return KeyVerdict::Refuse;
    }
    return KeyVerdict::Accept;
}

void text1KeyPress(Program& p, int box, int& keyAscii) {
    if (box < 0 || box > 3) return;
    const MainScreen& f = p.form1;
    EntryBoxState state;
    state.box = box;
    state.text = f.Text1[box].caption;
    state.widened = f.Text1[0].width > p.live.normalBoxWidth;
    state.frequencyUnit = p.config.inputType == "FP";
    state.countingMode = state.frequencyUnit && p.config.choice[kGroupMode][1] != 1;
    switch (filterScalingKey(state, keyAscii)) {
        case KeyVerdict::Accept:
            return;
        case KeyVerdict::Refuse:
            keyAscii = 0;
            return;
        case KeyVerdict::RefuseWithBeep:
            keyAscii = 0;
            p.dialogs.beep();
            return;
        case KeyVerdict::Confirm:
            keyAscii = 0;
            applyScalingEntry(p);
            return;
    }
}

void text1GotFocus(Program& p, int box) {
    if (box < 0 || box > 3) return;
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    live.focusedBox = box;
    live.entryBox = box;
    p.config.groupTouched[kGroupScaling] = 1;
    p.screen.changePending = 1;
    if (live.liveStep == 0) {
        for (int i = 0; i < 4; ++i) {
            Control& other = f.Text1[i];
            if (i == box) {
                other.caption.clear();
                other.foreColour = kRed;
            } else {
                other.foreColour = kBlack;
                if (other.caption.empty()) other.caption = "000000";
                p.config.scalingText[i + 1] = other.caption;
            }
        }
        return;
    }
    const int outputBox = live.liveStep == 1 ? 1 : 3;
    if (f.Text1[outputBox].enabled) f.focus = boxFocusName(outputBox);
}

void text1Change(Program& p, int box, const std::string& text) {
    if (box < 0 || box > 3) return;
    p.form1.Text1[box].caption = text;
}

}  // namespace sigcond
