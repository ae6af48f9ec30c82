// One unit on one serial port, served without a screen: its own program state, serial port,
// clock and unattended dialogs. A session is created, used and destroyed in one thread (the
// serial port belongs to the thread that made it), so several units can be served side by side.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/command_set.h"

namespace sigcond::cli {

// How a unit's part of a run ended.
enum class Outcome { Done, UnitFailed, FileError };

struct UnitResult {
    Outcome outcome = Outcome::Done;
    std::string summary;              // one line for the summary table
    std::vector<std::string> errors;  // what failed and where, for standard error
    std::string output;               // what the command prints for this unit
};

// The summary of the configuration as the send summary lists it: label and value pairs.
struct SummaryLine {
    std::string label;
    std::string value;
};

// One live reading as the monitor takes it.
struct LiveSample {
    std::string timestamp;  // ISO 8601, local time with offset
    std::string reading;    // as received
    double number = 0;
    double output = 0;
    bool answered = false;
};

struct SessionParts;

// Told the step a session is at: "opening", "searching 4800,E,7,1", "reading", "sending",
// "verifying". Called from the session's own thread.
using ProgressFn = std::function<void(const std::string& step)>;

class UnitSession {
public:
    // `portLabel` names the port in messages; `portNumber` is the "Com n" the port adapter opens.
    UnitSession(std::string portLabel, int portNumber, ProgressFn progress = {});
    ~UnitSession();
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // The line-settings search and identification.
    UnitResult identify();
    // Identification, then the whole configuration read and decoded. With a non-empty
    // `savePath` the configuration file is written there.
    UnitResult read(bool json, const std::string& savePath);
    // Identification, the file loaded under the unit's type, the whole configuration sent;
    // with `verify` the registers are read back and compared with what was sent.
    UnitResult send(const std::string& fileText, const std::string& filePath, bool verify);
    // Identification and configuration read, then one live reading every 450 ms until
    // `keepGoing` says stop; each is handed to `onSample`.
    UnitResult monitor(const std::function<bool()>& keepGoing,
                       const std::function<void(const LiveSample&)>& onSample);

private:
    bool connect(UnitResult& result);
    bool readRegisters(UnitResult& result);
    bool runSequence(UnitResult& result, const std::vector<CommandStep>& steps, const char* what);
    void fail(UnitResult& result, const std::string& text);
    std::vector<SummaryLine> summaryLines();
    std::string describeUnit() const;
    std::string lineSettingsText() const;

    void tell(const std::string& step) const {
        if (progress_) progress_(step);
    }

    std::string portLabel_;
    // "?" answers to "U01" in this search; past a bound the search ends (nobody is there to
    // cancel it).
    int rejections_ = 0;
    bool rejectedOut_ = false;
    ProgressFn progress_;
    std::unique_ptr<SessionParts> parts_;
};

// JSON string literal of an 8-bit text (Windows-1252), UTF-8 encoded.
std::string jsonString(const std::string& text);
// An 8-bit text (Windows-1252) as UTF-8 for the terminal.
std::string toTerminal(const std::string& text);

}  // namespace sigcond::cli
