#include "ui/numeric_entry.h"

#include "measure/scaling_panel.h"
#include "program.h"

namespace sigcond {

namespace {

constexpr int kScalingGroup = 4;  // the analog output scaling panel
constexpr int kBlack = 0x000000;

// The configuration record's scaling texts (index 1..4) take the copies saved when the panel
// was opened.
template <class Record>
void restoreScalingTexts(Record& record, const LiveState& live) {
    if constexpr (requires { record.scalingText[1] = live.savedScalingText[1]; }) {
        for (int i = 1; i <= 4; ++i) record.scalingText[i] = live.savedScalingText[i];
    }
}

// Every list of the open option panel shows the option recorded for its item again.
template <class Record>
void restoreRecordedSelections(const Record& record, int group, MainScreen& f) {
    if constexpr (requires {
                      record.itemCount[group];
                      record.listSlot[group][1];
                      record.choice[group][1];
                  }) {
        if (group < 1 || group >= static_cast<int>(std::size(record.itemCount))) return;
        for (int i = 1; i <= record.itemCount[group]; ++i) {
            const int list = record.listSlot[group][i] - 1;
            if (list < 0 || list >= static_cast<int>(f.List1.size())) continue;
            f.List1[list].selected = record.choice[group][i] - 1;
        }
    }
}

}  // namespace

void abandonEntry(Program& p) {
    MainScreen& f = p.form1;
    if (!f.Text1[1].enabled) {
        f.Command4.enabled = true;
        f.Text1[1].enabled = true;
        f.Text1[3].enabled = true;
    }
    if (p.screen.currentGroup == kScalingGroup) {
        restoreScalingTexts(p.config, p.live);
        for (int i = 1; i <= 4; ++i) {
            f.Text1[i - 1].caption = p.live.savedScalingText[i];
            f.Text1[i - 1].foreColour = kBlack;
        }
    } else {
        restoreRecordedSelections(p.config, p.screen.currentGroup, f);
    }
    p.live.liveStep = 0;
    f.focus = "Command3";
    f.Command7.enabled = true;
}

}  // namespace sigcond

namespace sigcond {

namespace {

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
