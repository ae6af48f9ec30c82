// Entry of the analog output scaling values in the boxes Text1(0..3).
#pragma once

#include <string>

namespace sigcond {

struct Program;

// Abandons the entry in progress: the scaling boxes (or the open option panel's lists) go back
// to what the configuration record holds, and live scaling ends with the readings it captured.
void abandonEntry(Program& p);

// Key codes of the box events.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

// What the key filter does with one key typed into a scaling box.
enum class KeyVerdict { Accept, Refuse, RefuseWithBeep, Confirm };

// The facts about the box that the key filter needs.
struct EntryBoxState {
    int box = 0;                  // 0..3: Input 1, Desired output 1, Input 2, Desired output 2
    std::string text;             // the box's text before the key
    bool widened = false;         // the input boxes are wider than normal (counting inputs)
    bool frequencyUnit = false;   // input type "FP"
    bool countingMode = false;    // "FP" in a mode other than the first (whole counts)
};

// The key filter of the scaling boxes: digits up to the entry limit (6 characters, 7 with a
// point, 8 in a widened input box), one point (none in counting inputs), "-" only as the first
// character of an input box and never for "FP", backspace; Enter confirms the entry; any other
// key is refused with a beep.
KeyVerdict filterScalingKey(const EntryBoxState& state, int keyAscii);

// Text1(box) KeyPress: applies the key filter; sets keyAscii to 0 for a refused key; Enter
// confirms the entry (applyScalingEntry).
void text1KeyPress(Program& p, int box, int& keyAscii);
// Text1(box) GotFocus: the focus rule. Outside live scaling the box is emptied for a fresh
// value (red text) and the other boxes are committed as they stand ("000000" when empty);
// during live scaling the focus moves on to the step's desired-output box.
void text1GotFocus(Program& p, int box);
// Text1(box) Change: the operator's text reaches the screen model.
void text1Change(Program& p, int box, const std::string& text);

}  // namespace sigcond
