// Typed entry of the two frequency/pulse settings that are whole counts of a fixed time step:
// the gate time (register 0D, 10 ms a count) and the debounce time (register 0E, 5 ms a count).
// The answer is examined character by character, every fault is reported in the input box
// itself with a beep, and the box is shown again until the answer is valid or the operator
// gives up. A changed value is offered for sending.
#pragma once

#include <string>

namespace sigcond {

struct Program;

inline constexpr const char* kGateTimeName = "Gate time";
inline constexpr const char* kDebounceTimeName = "Debounce time";
// The note argument that stands for "no note".
inline constexpr const char* kNoNote = "'Error'";

// Fault codes of a typed count, in the order the check finds them.
enum GateDebounceError {
    kCountAccepted = 0,
    kCountInvalid = 1,      // a character that has no place in a whole number
    kCountTooLong = 2,      // more than three digits
    kGateOutOfRange = 3,    // gate time outside 0..240
    kDebounceOutOfRange = 4,  // debounce time outside 1..255
    kCountNotInteger = 5,   // one decimal point
};

// Checks a typed answer for the named setting ("Gate time" or "Debounce time") and returns its
// fault code. The empty answer is code 0 (it means "no change"). A setting of another name gets
// the character check only.
int checkTypedCount(const std::string& settingName, const std::string& answer);

// The text shown in the repeated input box for a fault code (codes 1..5), without the
// "one count" line.
std::string typedCountFaultText(int errorCode);

// The input-box dialog for one setting. `value` is the record field and is changed in place:
// a non-empty answer is stored at once, also while it is rejected; Cancel (or an empty answer)
// after a rejection restores the value held before the dialog. `note` is shown under the
// prompt after " if 0 then "; kNoNote stands for none. When the value ends up different from
// the one before, the operator is asked whether to send the configuration now (also without a
// unit: the send itself then reports that none is connected).
void enterGateOrDebounce(Program& p, const std::string& settingName, std::string& value,
                         const std::string& unitText, const std::string& note);

// Handlers of the menu items GATE "Gate time" and DEBT "Debounce time": commit a pending option
// panel, return to the summary view, then run the entry for the setting.
void onGateTimeMenu(Program& p);
void onDebounceTimeMenu(Program& p);

}  // namespace sigcond
