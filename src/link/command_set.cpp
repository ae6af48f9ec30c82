#include "link/command_set.h"

#include "link/register_map.h"
#include "link/send_command.h"
#include "program.h"

namespace sigcond {

namespace {

constexpr std::array<std::string_view, 6> kBaudRates{"", "9600", "19200", "4800", "2400", "1200"};
constexpr std::array<std::string_view, 4> kParities{"", "O", "E", "N"};
constexpr std::string_view kIdentify = "U01";
constexpr std::string_view kReading = "X01";
constexpr std::string_view kOutputUpdate = "Z01";
constexpr std::string_view kZeroOffsetWrite = "W06200000";

CommandStep step(std::string command, int replyLength, bool longTimeout = false) {
    CommandStep s;
    s.command = std::move(command);
    s.replyLength = replyLength;
    s.longTimeout = longTimeout;
    return s;
}

const std::string& slotText(const RegisterImage& image, int slot) {
    return image.registerText[static_cast<std::size_t>(slot)];
}

}  // namespace

int replyLengthFor(std::string_view command) {
    const std::string_view head = command.substr(0, 3);
    for (const auto& info : kCommandTable) {
        if (info.head == head) return info.replyLength;
    }
    return 0;
}

std::string lineSettingsText(std::string_view baud, std::string_view parity) {
    return std::string(baud) + "," + std::string(parity) + ",7," + (parity == "N" ? "2" : "1");
}

void fillLinkTables(Program& p) {
    for (std::size_t b = 1; b < kBaudRates.size(); ++b) p.link.baudTable[b] = kBaudRates[b];
    for (std::size_t q = 1; q < kParities.size(); ++q) p.link.parityTable[q] = kParities[q];
    fillRegisterNumbers(p.registers);
    for (std::size_t j = 1; j < kScaleReadCommands.size(); ++j) {
        p.registers.scaleReadCommand[j] = kScaleReadCommands[j];
    }
}

void resetLinkState(Program& p) {
    LinkState& link = p.link;
    link.replyText.clear();
    link.linkError = 0;
    link.replyHead.clear();
    link.longTimeoutOnce = false;
    link.settledCount = 3;
    link.replyTimeout = 2;
    link.deferredPolls = 0;
    link.lastFrequencyReading = "     0.";
    link.quickPollMode = false;
    link.lineSettings.clear();
}

CommandStep identificationStep() { return step(std::string(kIdentify), kTypeCodeWidth); }

std::vector<CommandStep> configurationReadSequence(const Program& p) {
    const RegisterImage& image = p.registers;
    std::vector<CommandStep> steps;
    for (int s = 1; s <= image.encodedGroupCount && s <= 6; ++s) {
        if (s == kSlotScalePoints) {
            CommandStep low = step("R3C", kScalePairWidth, true);
            low.use = ReplyUse::ScalePairLow;
            CommandStep high = step("R3D", kScalePairWidth, true);
            high.use = ReplyUse::ScalePairHigh;
            steps.push_back(low);
            steps.push_back(high);
            continue;
        }
        CommandStep read = step("R" + image.registerNumber[static_cast<std::size_t>(s)], 2);
        read.use = ReplyUse::RegisterSlot;
        read.index = s;
        steps.push_back(read);
    }
    for (int j = 1; j <= 2; ++j) {
        std::string command = image.scaleReadCommand[static_cast<std::size_t>(j)];
        if (command.empty()) command = kScaleReadCommands[static_cast<std::size_t>(j)];
        CommandStep read = step(command, kScaleRegisterWidth);
        read.use = ReplyUse::ScaleRegister;
        read.index = j;
        steps.push_back(read);
    }
    if (hasResolutionRegister(p.config.inputType)) {
        CommandStep read = step("R03", 2);
        read.use = ReplyUse::RegisterSlot;
        read.index = kSlotResolution;
        steps.push_back(read);
    }
    return steps;
}

std::vector<CommandStep> configurationWriteSequence(const Program& p, bool partial) {
    const RegisterImage& image = p.registers;
    std::vector<CommandStep> steps;
    for (int s = 1; s <= image.encodedGroupCount && s <= 6; ++s) {
        if (s == kSlotScalePoints) {
            if (partial) continue;
            CommandStep first = step("W3C" + image.scalePairLow, 0, true);
            first.discardWaitingFirst = true;
            steps.push_back(first);
            steps.push_back(step("W3D" + image.scalePairHigh, 0, true));
            steps.push_back(step("W05" + image.scaleOffset[1], 0, true));
            steps.push_back(step("W06" + image.scaleOffset[2], 0, true));
            continue;
        }
        CommandStep write =
            step("W" + image.registerNumber[static_cast<std::size_t>(s)] + slotText(image, s), 0);
        write.discardWaitingFirst = true;
        steps.push_back(write);
    }
    if (hasResolutionRegister(p.config.inputType)) {
        steps.push_back(step("W03" + slotText(image, kSlotResolution), 0));
    }
    if (!partial) {
        steps.push_back(step("W" + std::string(kSettleRegister) + std::string(kSettleValue), 0));
        steps.push_back(step(std::string(kOutputUpdate), 0, true));
    }
    return steps;
}

CommandStep liveReadingStep() { return step(std::string(kReading), replyLengthFor(kReading)); }

std::vector<CommandStep> liveOutputSequence(const std::string& scaleCode) {
    return {step(std::string(kZeroOffsetWrite), 0, true), step("W05" + scaleCode, 0, true),
            step(std::string(kOutputUpdate), 0, true)};
}

CommandStep outputUpdateStep() { return step(std::string(kOutputUpdate), 0); }

void storeReply(Program& p, const CommandStep& s) {
    RegisterImage& image = p.registers;
    const std::string& reply = p.link.replyText;
    switch (s.use) {
        case ReplyUse::None:
            break;
        case ReplyUse::RegisterSlot:
            if (s.index < 1 || s.index >= static_cast<int>(image.registerText.size())) break;
            image.registerText[static_cast<std::size_t>(s.index)] = reply;
            if (s.index == kSlotGateTime) p.link.gateRegisterValue = reply;
            break;
        case ReplyUse::ScalePairLow:
            image.scalePairLow = reply;
            break;
        case ReplyUse::ScalePairHigh:
            image.scalePairHigh = reply;
            image.registerText[kSlotScalePoints] = image.scalePairHigh + image.scalePairLow;
            break;
        case ReplyUse::ScaleRegister:
            if (s.index < 1 || s.index >= static_cast<int>(image.scaleRegisterText.size())) break;
            image.scaleRegisterText[static_cast<std::size_t>(s.index)] = reply;
            break;
    }
}

bool runStep(Program& p, const CommandStep& s) {
    if (s.discardWaitingFirst) p.port.readAll();
    if (s.longTimeout) p.link.longTimeoutOnce = true;
    sendCommand(p, s.command, s.replyLength);
    // Register data ends at the reply's carriage return: a reply shorter than asked brings its
    // CR within the characters taken, and that is no digit of the register.
    if (s.use != ReplyUse::None) {
        const std::size_t end = p.link.replyText.find('\r');
        if (end != std::string::npos) p.link.replyText.resize(end);
    }
    // A command the unit still refuses after the resends, or a register read answered only in
    // part, gives nothing a sequence can go on with: it fails as an unanswered command does.
    const bool cutShort =
        s.use != ReplyUse::None && static_cast<int>(p.link.replyText.size()) < s.replyLength;
    if (p.link.linkError == 0 && (p.link.rejected || cutShort)) reportUnansweredCommand(p);
    const bool ok = p.link.linkError == 0;
    // A scale register read stores its reply even when it failed; every other read only when
    // it succeeded.
    if (ok || s.use == ReplyUse::ScaleRegister) storeReply(p, s);
    return ok;
}

}  // namespace sigcond
