#include "sim/model/unit_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sigcond::sim {

namespace {

struct RegisterSpec {
    const char* number;
    int width;
    bool readable;
    const char* factoryValue;
};

// Registers of the unit with their factory contents: the scaling pair 3C/3D draws the line
// through (0, 0) and (10, 10), which 05/06 code as scale 1 and offset 0, so a configuration
// read from a new unit can be sent back as it is. 08 can only be written.
constexpr std::array<RegisterSpec, 10> kRegisters{{
    {"01", 2, true, "29"},
    {"02", 2, true, "46"},
    {"03", 2, true, "02"},
    {"04", 2, true, "06"},
    {"05", 6, true, "20000A"},
    {"06", 6, true, "200000"},
    {"08", 2, false, "14"},
    {"0D", 2, true, "FF"},
    {"0E", 2, true, "FB"},
    {"3C", 12, true, "500000500000"},
}};
constexpr RegisterSpec kRegister3D{"3D", 12, true, "5186A05186A0"};

const RegisterSpec* findRegister(std::string_view number) {
    if (number == kRegister3D.number) return &kRegister3D;
    for (const auto& entry : kRegisters) {
        if (number == entry.number) return &entry;
    }
    return nullptr;
}

bool isUpperHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

bool matchesCommand(const std::string& command, const std::set<std::string>& list) {
    return list.count(command) > 0 || list.count(command.substr(0, 3)) > 0;
}

std::string printable(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127 && byte != '\\') {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text;
}

}  // namespace

std::string FrameRecord::logLine() const {
    return line.text() + " " + frame + (fault.empty() ? "" : " !" + fault);
}

UnitModel::UnitModel(UnitType type) : type_(type) { resetRegisters(); }

void UnitModel::resetRegisters() {
    registers_.clear();
    for (const auto& entry : kRegisters) registers_[entry.number] = entry.factoryValue;
    registers_[kRegister3D.number] = kRegister3D.factoryValue;
}

std::optional<std::string> UnitModel::registerValue(std::string_view number) const {
    const auto found = registers_.find(number);
    if (found == registers_.end()) return std::nullopt;
    return found->second;
}

bool UnitModel::setRegister(std::string_view number, std::string_view value) {
    const RegisterSpec* entry = findRegister(number);
    if (!entry || static_cast<int>(value.size()) != entry->width || !isUpperHex(value)) {
        return false;
    }
    registers_[entry->number] = std::string(value);
    return true;
}

int UnitModel::registerWidth(std::string_view number) {
    const RegisterSpec* entry = findRegister(number);
    return entry ? entry->width : 0;
}

double UnitModel::gateSeconds() const {
    if (gateOverride_) return *gateOverride_;
    const std::string gate = registerValue("0D").value_or("00");
    const long counts = std::strtol(gate.c_str(), nullptr, 16);
    return counts == 0 ? 0.003 : counts * 0.01;
}

void UnitModel::receive(std::string_view bytes, const LineSettings& line, double seconds) {
    for (char c : bytes) {
        if (c == '\r') {
            handleFrame(pending_, line, seconds);
            pending_.clear();
        } else if (pending_.size() < 4096) {
            pending_ += c;
        }
    }
}

void UnitModel::handleFrame(const std::string& raw, const LineSettings& line, double seconds) {
    const auto star = raw.find('*');
    const std::string command = star == std::string::npos ? std::string() : raw.substr(star + 1);
    frames_.push_back({seconds, line, printable(star == std::string::npos ? raw : command), {}});
    const int frameNumber = ++frameCount_;
    if (!firstFrameAt_) firstFrameAt_ = seconds;

    if (faults_.silent) return;
    if (faults_.silentFromFrame > 0 && frameNumber >= faults_.silentFromFrame) return;
    if (faults_.dropEvery > 0 && frameNumber % faults_.dropEvery == 0) return;
    if (inSilence(seconds)) {
        frames_.back().fault = "silence";
        return;
    }
    if (!line.understoodBy(faults_.answerAt)) {
        // Characters at the wrong rate or parity arrive mangled, and so does the answer.
        schedule(garbage(), line, seconds + faults_.replyDelaySeconds);
        return;
    }
    if (star == std::string::npos) return;  // no frame start: nothing addressed to the unit
    if (matchesCommand(command, faults_.silentCommands)) return;

    double replyAt = seconds + faults_.replyDelaySeconds;
    std::string reply;
    const bool readingRequest = command == "X01";
    if (readingRequest) ++readingRequests_;
    auto nowAndThen = [&](int every, const char* fault) {
        if (!readingRequest || every <= 0 || readingRequests_ % every != 0) return false;
        std::string& noted = frames_.back().fault;
        noted += (noted.empty() ? "" : ",") + std::string(fault);
        return true;
    };
    auto rejection = faults_.rejections.find(command);
    if (rejection == faults_.rejections.end() || rejection->second <= 0) {
        rejection = faults_.rejections.find(command.substr(0, 3));
    }
    if (rejection != faults_.rejections.end() && rejection->second > 0) {
        --rejection->second;
        reply = "?\r";
    } else if (nowAndThen(faults_.rejectEvery, "reject")) {
        reply = "?\r";
    } else {
        reply = answer(command, seconds, replyAt);
    }
    if (reply.empty()) return;
    if (faults_.partialLength >= 0 &&
        (faults_.partialCommands.empty() || matchesCommand(command, faults_.partialCommands))) {
        reply.resize(std::min<std::size_t>(reply.size() - 1, faults_.partialLength));
        if (reply.empty()) return;
    }
    const bool noisy = faults_.noiseEvery <= 0 || nowAndThen(faults_.noiseEvery, "noise");
    schedule((noisy ? faults_.noise : std::string()) + reply, line, replyAt);
}

std::string UnitModel::answer(const std::string& command, double seconds, double& replyAt) {
    if (command == "U01") return "U01" + std::string(unitTypeInfo(type_).code) + "\r";
    if (command == "Z01") return "Z01\r";
    if (command == "X01") return readingReply(seconds, replyAt);
    if (command.size() >= 3 && (command[0] == 'R' || command[0] == 'W')) {
        const std::string number = command.substr(1, 2);
        const RegisterSpec* entry = findRegister(number);
        if (!entry) return "?\r";
        if (command[0] == 'R') {
            if (command.size() != 3 || !entry->readable) return "?\r";
            return command + registers_[entry->number] + "\r";
        }
        const std::string value = command.substr(3);
        if (static_cast<int>(value.size()) != entry->width || !isUpperHex(value)) return "?\r";
        if (faults_.ignoredWrites.count(number) == 0) registers_[entry->number] = value;
        return command.substr(0, 3) + "\r";
    }
    return "?\r";
}

std::string UnitModel::readingReply(double seconds, double& replyAt) {
    if (type_ == UnitType::FP) {
        // A frequency unit measures over its gate time. The first request starts the
        // measurement and is answered when the gate has passed; while requests keep coming it
        // keeps measuring, and later requests are answered at once.
        const double gate = gateSeconds();
        if (measuringSince_ && seconds - lastReadingRequest_ > 2 * gate + 5.0) {
            measuringSince_.reset();
        }
        lastReadingRequest_ = seconds;
        if (!measuringSince_) {
            measuringSince_ = seconds;
            replyAt += gate;
            return "X01" + readingText(reading_, seconds + gate, ++readingsAnswered_) + "\r";
        }
        if (seconds < *measuringSince_ + gate) return "";  // the first answer is still to come
    }
    return "X01" + readingText(reading_, seconds, ++readingsAnswered_) + "\r";
}

bool UnitModel::inSilence(double seconds) const {
    const double period = faults_.silencePeriodSeconds;
    if (period <= 0.0 || faults_.silenceSeconds <= 0.0 || !firstFrameAt_) return false;
    return std::fmod(seconds - *firstFrameAt_, period) >= period - faults_.silenceSeconds;
}

void UnitModel::schedule(const std::string& reply, const LineSettings& line, double startSeconds) {
    double at = startSeconds;
    if (!output_.empty()) at = std::max(at, output_.back().seconds);
    const double characterTime = faults_.wireTime ? line.characterSeconds() : 0.0;
    for (char c : reply) {
        at += characterTime;
        output_.push_back({at, c});
    }
}

std::string UnitModel::garbage() {
    std::string bytes;
    while (bytes.size() < 5) {
        garbageSeed_ = garbageSeed_ * 1103515245u + 12345u;
        const char c = static_cast<char>((garbageSeed_ >> 16) & 0xFF);
        const char low = static_cast<char>(c & 0x7F);
        if (low == 'U' || low == '?' || low == '\r' || low == '\n' || low == '*' || low == 0) {
            continue;
        }
        bytes += c;
    }
    return bytes + "\r";
}

std::string UnitModel::takeOutput(double seconds) {
    std::string bytes;
    while (!output_.empty() && output_.front().seconds <= seconds) {
        bytes += output_.front().character;
        output_.pop_front();
    }
    return bytes;
}

std::optional<double> UnitModel::nextOutputTime() const {
    if (output_.empty()) return std::nullopt;
    return output_.front().seconds;
}

void UnitModel::dropLine() {
    output_.clear();
    pending_.clear();
}

std::vector<std::string> UnitModel::frameLines() const {
    std::vector<std::string> lines;
    for (const auto& frame : frames_) lines.push_back(frame.logLine());
    return lines;
}

}  // namespace sigcond::sim
