// The command vocabulary and the command sequences that the configuration transfers, the
// identification and the live reading send through sendCommand.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace sigcond {

struct Program;

// Where the data of a reply goes.
enum class ReplyUse {
    None,           // writes, or handled by the caller ("U01", "X01")
    RegisterSlot,   // registerText[index]; slot 5 also sets gateRegisterValue
    ScalePairLow,   // "R3C": kept until "R3D" has answered
    ScalePairHigh,  // "R3D": slot 4 := R3D data + R3C data
    ScaleRegister,  // "R05"/"R06": scaleRegisterText[index], stored even when the read failed
};

struct CommandStep {
    std::string command;               // text between "*" and the carriage return
    int replyLength = 0;               // data characters wanted
    bool longTimeout = false;          // 4 s instead of 2 s
    bool discardWaitingFirst = false;  // read and drop whatever the port holds before sending
    ReplyUse use = ReplyUse::None;
    int index = 0;  // slot or scale-table entry for `use`
};

// One entry of the vocabulary: the command head, the reply length asked for and the usual
// timeout (true = 4 s). "Z01" is 4 s in a transfer and in live scaling, 2 s when sent alone.
struct CommandInfo {
    std::string_view head;
    int replyLength;
    bool longTimeout;
};
inline constexpr std::array<CommandInfo, 17> kCommandTable{{
    {"U01", 2, false},
    {"R01", 2, false},
    {"R02", 2, false},
    {"R04", 2, false},
    {"R0D", 2, false},
    {"R0E", 2, false},
    {"R3C", 12, true},
    {"R3D", 12, true},
    {"R05", 6, false},
    {"R06", 6, false},
    {"R03", 2, false},
    {"W3C", 0, true},
    {"W3D", 0, true},
    {"W05", 0, true},
    {"W06", 0, true},
    {"W08", 0, false},
    {"X01", 7, false},
}};
// Reply length for a command text (writes and unknown heads: 0).
int replyLengthFor(std::string_view command);

// "9600,O,7,1" / "9600,N,7,2": two stop bits only without parity.
std::string lineSettingsText(std::string_view baud, std::string_view parity);

// Baud and parity tables of the line-settings search, the register numbers and the
// scale-read table (filled when the operator leaves the first screens).
void fillLinkTables(Program& p);
// The link state as the main screen's load sets it.
void resetLinkState(Program& p);

// The sequences. Each step is sent with runStep; a sequence stops at the first failed step.
CommandStep identificationStep();
std::vector<CommandStep> configurationReadSequence(const Program& p);
std::vector<CommandStep> configurationWriteSequence(const Program& p, bool partial);
CommandStep liveReadingStep();
// Live scaling's unity-scale burst: offset 0, the given scale code, then "Z01" (all 4 s).
std::vector<CommandStep> liveOutputSequence(const std::string& scaleCode);
// "Z01" sent alone (normal timeout).
CommandStep outputUpdateStep();

// Sends one step: discards waiting input if asked, sets longTimeoutOnce when the step needs
// it, calls sendCommand and stores the reply as `use` says. Returns linkError == 0.
bool runStep(Program& p, const CommandStep& step);
// Stores p.link.replyText as the step's `use` says (runStep calls this).
void storeReply(Program& p, const CommandStep& step);

}  // namespace sigcond
