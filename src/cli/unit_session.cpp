#include "cli/unit_session.h"

#include <QDateTime>
#include <chrono>
#include <thread>

#include "cli/cli_dialogs.h"
#include "cli/progress_port.h"
#include "cli/stop_request.h"
#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "config/send_config.h"
#include "link/line_search.h"
#include "measure/reading_format.h"
#include "program.h"
#include "qt/com_port.h"
#include "qt/cp1252.h"
#include "qt/qt_clock.h"
#include "records/config_file.h"

namespace sigcond::cli {

struct SessionParts {
    ComPort port;
    SystemClock clock;
    UnattendedDialogs dialogs;
    ProgressPort watchedPort{port};
    Program program{watchedPort, clock, dialogs};
};

namespace {

constexpr int kLivePeriodMs = 450;
// A unit that answers "?" to "U01" sends the search back to the first parity of its baud rate,
// for ever on a unit that never stops: the command line gives up after as many rejections as
// the search has attempts.
constexpr int kMaxSearchRejections = 15;

bool hasSlot7(const std::string& inputType) {
    return inputType != kTypeACV && inputType != kTypeACC;
}

// Register slots a configuration transfer covers, in order.
std::vector<int> configurationSlots(const Program& p) {
    std::vector<int> list;
    for (int s = 1; s <= p.registers.encodedGroupCount; ++s) list.push_back(s);
    if (hasSlot7(p.config.inputType)) list.push_back(7);
    return list;
}

std::string registerNameOf(const Program& p, int slot) {
    if (slot == 4) return "3D/3C";
    if (slot == 7) return "03";
    return p.registers.registerNumber[static_cast<std::size_t>(slot)];
}

std::string trimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string toTerminal(const std::string& text) {
    // What a unit or server sends is untrusted: a control character (a carriage return, an
    // escape sequence's ESC, a C1 control) would move the cursor or retitle the terminal, or
    // break a CSV line, so each becomes "?".
    QString shown = qt::fromCp1252(text);
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control) c = QLatin1Char('?');
    }
    return shown.toUtf8().toStdString();
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : toTerminal(text)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

UnitSession::UnitSession(std::string portLabel, int portNumber, ProgressFn progress)
    : portLabel_(std::move(portLabel)),
      progress_(std::move(progress)),
      parts_(std::make_unique<SessionParts>()) {
    Program& p = parts_->program;
    fillLinkTables(p);
    p.link.portNumber = portNumber;
    p.port.setPortNumber(portNumber);
    p.screen.unitConnected = 1;
    // The search asks before each attempt whether to go on, where the program's screen offers
    // its cancel button: end it on a stop request, or when the unit keeps rejecting.
    parts_->dialogs.onProcessEvents = [this] {
        Program& program = parts_->program;
        if (program.link.identifyMode && program.link.replyHead == "?" &&
            ++rejections_ >= kMaxSearchRejections) {
            rejectedOut_ = true;
        }
        if (rejectedOut_ || stopRequested()) program.start.portChooserVisible = true;
    };
}

UnitSession::~UnitSession() {
    if (parts_->port.isOpen()) parts_->port.close();
}

// Control characters that reached a message (a server's own text, say) become "?"; the text is
// UTF-8 already, and its multi-byte characters pass unchanged.
std::string printable(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto u = static_cast<unsigned char>(out[i]);
        if (u < 0x20 || u == 0x7f) {
            out[i] = '?';
        } else if (u == 0xc2 && i + 1 < out.size() &&
                   static_cast<unsigned char>(out[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(out[i + 1]) <= 0x9f) {
            out.replace(i, 2, "?");  // a C1 control
        }
    }
    return out;
}

void UnitSession::fail(UnitResult& result, const std::string& text) {
    result.outcome = Outcome::UnitFailed;
    result.errors.push_back(portLabel_ + ": " + printable(text));
    if (result.summary.empty()) result.summary = text;
}

std::string UnitSession::lineSettingsText() const {
    const std::string& settings = parts_->program.link.lineSettings;
    const std::string caveat = parts_->port.lineSettingsCaveat();
    return caveat.empty() ? settings : settings + " as tried (" + caveat + ")";
}

std::string UnitSession::describeUnit() const {
    const Program& p = parts_->program;
    return p.config.inputType + " (" + std::string(longTypeName(p.config.inputType)) + ") at " +
           lineSettingsText();
}

bool UnitSession::connect(UnitResult& result) {
    Program& p = parts_->program;
    tell("opening");
    if (progress_) {
        parts_->watchedPort.onLineSettings = [this](const std::string& settings) {
            tell("searching " + settings);
        };
    }
    rejections_ = 0;
    rejectedOut_ = false;
    const bool found = connectToUnit(p);
    parts_->watchedPort.onLineSettings = nullptr;
    if (!found) {
        if (stopRequested()) {
            fail(result, "stopped on request during the line-settings search");
        } else if (rejectedOut_) {
            fail(result, "the unit keeps rejecting U01 (" + std::to_string(rejections_) +
                             " \"?\" answers at " + p.link.lineSettings + ")");
        } else if (p.link.linkError == 2) {
            std::string why = p.port.errorText();
            const std::string& device = parts_->port.devicePath();
            // The device or address is named once: the ports start their texts with it.
            if (!device.empty() && why.rfind(device + ": ", 0) == 0) {
                why.erase(0, device.size() + 2);
            }
            const bool named = device.empty() || device == portLabel_;
            const char* what = p.port.failed() ? "the port failed during the line-settings search"
                                               : "the port cannot be opened";
            fail(result, what + (named ? std::string() : " (" + device + ")") +
                             (why.empty() ? "" : ": " + why));
        } else {
            fail(result, "no answer to U01 at any baud rate and parity");
        }
        return false;
    }
    p.link.identifyMode = false;
    p.transfer.unitIdentified = 1;
    p.config.inputType = inputTypeForNumber(p.link.replyText);
    buildOptionCatalogue(p);
    return true;
}

bool UnitSession::runSequence(UnitResult& result, const std::vector<CommandStep>& steps,
                              const char* what) {
    Program& p = parts_->program;
    for (const CommandStep& step : steps) {
        if (!runStep(p, step)) {
            // A port that failed (a connection lost, a device gone, a stop request) is told
            // apart from a unit that stayed silent.
            std::string why = " was not answered";
            if (stopRequested()) {
                why = " was cut short: stopped on request";
            } else if (p.port.failed()) {
                std::string text = p.port.errorText();
                const std::string& device = parts_->port.devicePath();
                if (!device.empty() && text.rfind(device + ": ", 0) == 0) {
                    text.erase(0, device.size() + 2);
                }
                why = " was cut short: the port failed (the connection was lost or the device "
                      "went away)" + (text.empty() ? "" : ": " + text);
            } else if (p.link.linkError == 2) {
                why = " could not be written to the port";
            }
            fail(result, std::string(what) + " stopped: command " + step.command + why);
            p.link.linkError = 0;
            return false;
        }
    }
    return true;
}

bool UnitSession::readRegisters(UnitResult& result) {
    Program& p = parts_->program;
    tell("reading");
    if (!runSequence(result, configurationReadSequence(p), "reading the configuration")) {
        return false;
    }
    p.config.modeMarker.clear();
    decodeConfiguration(p);
    refreshDerivedLabels(p);
    return true;
}

std::vector<SummaryLine> UnitSession::summaryLines() {
    Program& p = parts_->program;
    showSendSummary(p);
    const SendSummaryControls& s = p.form1.sendSummary;
    std::vector<SummaryLine> lines;
    for (std::size_t g = 0; g < 2; ++g) {
        lines.push_back({s.heading[g].caption, ""});
        for (std::size_t i = 0; i < s.items[g].lines.size(); ++i) {
            lines.push_back(
                {s.items[g].lines[i], i < s.choices[g].lines.size() ? s.choices[g].lines[i] : ""});
        }
    }
    lines.push_back({s.scalingHeading.caption, ""});
    for (std::size_t n = 0; n < 4; ++n) {
        lines.push_back(
            {s.scalingCaption[n].caption, s.scalingValue[n].caption + s.scalingUnit[n].caption});
    }
    for (const auto* line : {&s.filter, &s.resolution, &s.debounce, &s.gate}) {
        if ((*line)[0].visible) lines.push_back({(*line)[0].caption, (*line)[1].caption});
    }
    p.form1.Frame5.visible = false;
    return lines;
}

UnitResult UnitSession::identify() {
    UnitResult result;
    if (!connect(result)) return result;
    const Program& p = parts_->program;
    result.summary = describeUnit();
    result.output = portLabel_ + ": line settings " + lineSettingsText() + ", input type " +
                    p.config.inputType + " (" + std::string(longTypeName(p.config.inputType)) +
                    "), type number " + toTerminal(p.link.replyText) + "\n";
    return result;
}

UnitResult UnitSession::read(bool json, const std::string& savePath) {
    UnitResult result;
    if (!connect(result) || !readRegisters(result)) return result;
    Program& p = parts_->program;
    const std::vector<SummaryLine> lines = summaryLines();
    std::string out;
    if (json) {
        const std::string caveat = parts_->port.lineSettingsCaveat();
        out = "{\"port\": " + jsonString(portLabel_) +
              ", \"lineSettings\": " + jsonString(p.link.lineSettings) +
              // Whether the wire's settings are known to be those: not when a server keeps its
              // own, and then why.
              ", \"lineSettingsAsTried\": " + (caveat.empty() ? "false" : "true") +
              (caveat.empty() ? "" : ", \"lineSettingsCaveat\": " + jsonString(caveat)) +
              ", \"inputType\": " + jsonString(p.config.inputType) +
              ", \"typeName\": " + jsonString(std::string(longTypeName(p.config.inputType))) +
              ", \"registers\": {";
        bool first = true;
        for (const int slot : configurationSlots(p)) {
            out += std::string(first ? "" : ", ") + jsonString(registerNameOf(p, slot)) + ": " +
                   jsonString(p.registers.registerText[static_cast<std::size_t>(slot)]);
            first = false;
        }
        out += ", \"05\": " + jsonString(p.registers.scaleRegisterText[1]) +
               ", \"06\": " + jsonString(p.registers.scaleRegisterText[2]) + "}, \"summary\": [";
        first = true;
        for (const SummaryLine& line : lines) {
            out += std::string(first ? "" : ", ") + "{\"item\": " + jsonString(line.label) +
                   ", \"value\": " + jsonString(line.value) + "}";
            first = false;
        }
        out += "]}\n";
    } else {
        out = "Port: " + portLabel_ + "\nUnit: " + describeUnit() + "\n";
        for (const SummaryLine& line : lines) {
            if (line.value.empty()) {
                out += toTerminal(line.label) + "\n";
            } else {
                std::string label = trimBlanks(toTerminal(line.label));
                while (label.size() < 30) label += ' ';
                out += "  " + label + " " + trimBlanks(toTerminal(line.value)) + "\n";
            }
        }
    }
    result.output = out;
    result.summary = describeUnit();
    if (!savePath.empty()) {
        const std::string text = configurationFileText(
            p.registers.registerText, p.registers.encodedGroupCount, p.config.inputType);
        if (const int error = writeFileReplacing(savePath, text); error != 0) {
            result.outcome = Outcome::FileError;
            result.errors.push_back(portLabel_ + ": " + savePath + ": " +
                                    saveMessage(problemOfError(error, savePath, false)));
            result.summary = "cannot write " + savePath;
            return result;
        }
        result.summary += ", saved to " + savePath;
    }
    return result;
}

UnitResult UnitSession::send(const std::string& fileText, const std::string& filePath,
                             bool verify) {
    UnitResult result;
    if (!connect(result)) return result;
    Program& p = parts_->program;
    // The file is read under the identified unit's type, as the program loads it.
    const FileProblem problem = readConfigurationText(fileText, p.registers.encodedGroupCount,
                                                      p.config.inputType, p.registers.registerText);
    if (problem != FileProblem::None) {
        result.outcome = Outcome::FileError;
        result.errors.push_back(portLabel_ + ": " + filePath + ": not a configuration for a " +
                                p.config.inputType + " unit: " + loadMessage(problem));
        result.summary = filePath + " is not a configuration file";
        return result;
    }
    p.config.modeMarker = "NA";
    decodeConfiguration(p);
    p.config.modeMarker.clear();
    refreshDerivedLabels(p);
    p.link.linkError = 0;
    if (!encodeConfiguration(p) || p.link.linkError != 0) {
        result.outcome = Outcome::FileError;
        std::string why;
        for (const std::string& line : p.form1.Picture1.lines) {
            if (!line.empty()) why += (why.empty() ? "" : " ") + line;
        }
        // The panel lays its words out in columns; one blank between words reads better here.
        std::string words;
        for (const char c : why) {
            if (c == ' ' && (words.empty() || words.back() == ' ')) continue;
            words += c;
        }
        why = trimBlanks(words);
        result.errors.push_back(portLabel_ + ": " + filePath +
                                ": the scaling values fail their checks" +
                                (why.empty() ? "" : ": " + toTerminal(why)));
        result.summary = "scaling values of " + filePath + " fail their checks";
        return result;
    }
    p.transfer.partialSend = 0;
    // What was sent, to compare with the read-back.
    const RegisterImage sent = p.registers;
    tell("sending");
    if (!runSequence(result, configurationWriteSequence(p, false), "sending the configuration")) {
        return result;
    }
    result.summary = "sent to " + describeUnit();
    if (!verify) return result;

    tell("verifying");
    if (!runSequence(result, configurationReadSequence(p), "reading back the configuration")) {
        return result;
    }
    std::vector<std::string> differences;
    for (const int slot : configurationSlots(p)) {
        const auto s = static_cast<std::size_t>(slot);
        if (p.registers.registerText[s] != sent.registerText[s]) {
            differences.push_back("register " + registerNameOf(p, slot) + " reads " +
                                  p.registers.registerText[s] + ", sent " + sent.registerText[s]);
        }
    }
    const char* scaleNames[3] = {"", "05", "06"};
    for (std::size_t j = 1; j <= 2; ++j) {
        if (p.registers.scaleRegisterText[j] != sent.scaleOffset[j]) {
            differences.push_back(std::string("register ") + scaleNames[j] + " reads " +
                                  p.registers.scaleRegisterText[j] + ", sent " +
                                  sent.scaleOffset[j]);
        }
    }
    if (!differences.empty()) {
        for (const std::string& d : differences) fail(result, "verification: " + d);
        result.summary =
            "verification: " + std::to_string(differences.size()) + " register(s) differ";
        return result;
    }
    result.summary += ", verified";
    return result;
}

UnitResult UnitSession::monitor(const std::function<bool()>& keepGoing,
                                const std::function<void(const LiveSample&)>& onSample) {
    UnitResult result;
    if (!connect(result) || !readRegisters(result)) return result;
    Program& p = parts_->program;
    const double fullScale = p.config.outputUnitText == "  Volt" ? 10.0 : 20.0;
    const double scale = p.live.outputScale;
    const double offset = p.live.outputOffset;
    int unanswered = 0;
    int taken = 0;
    auto next = std::chrono::steady_clock::now();
    while (keepGoing()) {
        ++taken;
        LiveSample sample;
        sample.timestamp = QDateTime::currentDateTime()
                               .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                               .toString(Qt::ISODateWithMs)
                               .toStdString();
        // A silent unit leaves the reading empty rather than failing the exchange.
        sample.answered = runStep(p, liveReadingStep()) && !p.link.replyText.empty();
        // Stopped in the middle of the exchange: that is no unanswered reading.
        if (stopRequested()) break;
        if (sample.answered) {
            // The reading ends at its carriage return; anything after it is no part of it.
            sample.reading = p.link.replyText.substr(0, p.link.replyText.find('\r'));
            if (scansForOverRange(p.config.inputType))
                sample.reading = markOverRange(sample.reading);
            sample.number = textToNumber(sample.reading);
            sample.output = computeOutputValue(sample.reading, scale, offset, fullScale);
        } else {
            ++unanswered;
            p.link.linkError = 0;
        }
        onSample(sample);
        next += std::chrono::milliseconds(kLivePeriodMs);
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now;
        while (keepGoing() && std::chrono::steady_clock::now() < next) {
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
                next - std::chrono::steady_clock::now(), std::chrono::milliseconds(50)));
        }
    }
    if (taken == 0) {
        fail(result, stopRequested() ? "stopped on request: no reading was taken"
                                     : "no reading was taken");
    } else if (unanswered > 0) {
        fail(result, "X01 went unanswered " + std::to_string(unanswered) + " time(s)");
    } else {
        result.summary = describeUnit();
    }
    return result;
}

}  // namespace sigcond::cli
