// The device model behind the unit simulator: a signal conditioner of one input type that
// answers command frames ("*" + command + CR) the way a unit does, with switchable faults for
// tests and demonstrations. No Qt, no real time: callers pass the time in seconds on their own
// clock (virtual in tests, steady in the pseudo-terminal program), and the model says when
// each reply character is due.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model/line_settings.h"
#include "sim/model/reading_source.h"
#include "sim/model/unit_types.h"

namespace sigcond::sim {

// Faults and line behaviour. Command lists hold either a full command ("W0814") or a
// three-character command head ("R05"); a frame matches when either matches.
struct FaultOptions {
    // The only line settings (baud rate and parity) the unit understands; at any other it
    // answers a few garbage characters.
    LineSettings answerAt{};
    bool silent = false;                    // answers nothing at all
    int silentFromFrame = 0;                // 0 = never; n = no reply to the n-th frame on
    std::set<std::string> silentCommands;   // never answered
    int dropEvery = 0;                      // n > 0: no reply to every n-th frame (flaky line)
    std::map<std::string, int> rejections;  // answered "?" this many more times
    std::string noise;                      // sent ahead of every reply
    int partialLength = -1;                 // >= 0: replies cut to this many characters, no CR
    std::set<std::string> partialCommands;  // empty = every command
    double replyDelaySeconds = 0.0;         // from the frame's CR to the reply's first character
    bool wireTime = false;                  // each character takes its time on the line
    std::set<std::string> ignoredWrites;    // register numbers: write answered, value not kept

    // Faults now and then, for long runs. Silences follow the unit's clock from the first frame
    // it receives; the others count reading requests ("X01").
    double silencePeriodSeconds = 0.0;  // > 0: in every period of this length the unit ...
    double silenceSeconds = 0.0;        // ... falls silent for its last this-many seconds
    int rejectEvery = 0;                // n > 0: every n-th reading request answered "?"
    int noiseEvery = 0;                 // n > 0: `noise` only ahead of every n-th reading reply
};

// One frame as the unit received it.
struct FrameRecord {
    double seconds = 0.0;  // when its CR arrived
    LineSettings line;     // the line settings it arrived at
    std::string frame;     // the text between "*" and CR; non-printing bytes as \xNN
    std::string fault;     // a now-and-then fault it met: "silence", "reject" or "noise"

    // "4800,E,7,1 U01", with " !fault" after a frame that met a now-and-then fault.
    std::string logLine() const;
};

class UnitModel {
public:
    explicit UnitModel(UnitType type = UnitType::TC);

    UnitType type() const { return type_; }
    void setType(UnitType type) { type_ = type; }

    // Register contents as upper-case hex text; nullopt for a register the unit does not have.
    std::optional<std::string> registerValue(std::string_view number) const;
    // Sets a register directly (test set-up). False for an unknown register, a value of the
    // wrong width or one that is not upper-case hex.
    bool setRegister(std::string_view number, std::string_view value);
    // Hex digits a register holds; 0 for a register the unit does not have.
    static int registerWidth(std::string_view number);
    // Back to the factory contents.
    void resetRegisters();

    ReadingSource& reading() { return reading_; }
    void setReading(ReadingSource source) { reading_ = std::move(source); }
    FaultOptions& faults() { return faults_; }
    const FaultOptions& faults() const { return faults_; }

    // Frequency units: seconds one measurement takes. By default it follows register 0D
    // (one count = 10 ms, 0 = 3 ms).
    double gateSeconds() const;
    void setGateSeconds(std::optional<double> seconds) { gateOverride_ = seconds; }

    // Bytes from the line, the last of them arriving at `seconds`, at line settings `line`.
    void receive(std::string_view bytes, const LineSettings& line, double seconds);
    // Reply characters due by `seconds`, removed from the queue.
    std::string takeOutput(double seconds);
    // When the next reply character is due; nullopt when nothing is queued.
    std::optional<double> nextOutputTime() const;
    // Reply characters queued, due or not.
    std::size_t queuedOutput() const { return output_.size(); }
    // Drops everything queued (the cable was pulled) and any half-received frame.
    void dropLine();

    const std::vector<FrameRecord>& frames() const { return frames_; }
    // Frames received since the unit was made, cleared records included.
    int frameCount() const { return frameCount_; }
    // Every frame as "4800,E,7,1 U01".
    std::vector<std::string> frameLines() const;
    // Forgets the frame records (the count goes on).
    void clearFrames() { frames_.clear(); }

private:
    struct DueCharacter {
        double seconds;
        char character;
    };

    void handleFrame(const std::string& raw, const LineSettings& line, double seconds);
    // The reply to a command understood at the right settings; empty = no reply at all.
    std::string answer(const std::string& command, double seconds, double& replyAt);
    std::string readingReply(double seconds, double& replyAt);
    void schedule(const std::string& reply, const LineSettings& line, double startSeconds);
    bool inSilence(double seconds) const;
    std::string garbage();

    UnitType type_;
    std::map<std::string, std::string, std::less<>> registers_;
    ReadingSource reading_;
    FaultOptions faults_;
    std::optional<double> gateOverride_;
    std::optional<double> measuringSince_;  // frequency unit: measurement running since
    double lastReadingRequest_ = 0.0;
    std::optional<double> firstFrameAt_;  // the unit's clock for silences starts here
    int readingRequests_ = 0;
    long readingsAnswered_ = 0;  // counting readings: the last number answered
    std::string pending_;        // bytes of the frame being received
    std::deque<DueCharacter> output_;
    std::vector<FrameRecord> frames_;
    int frameCount_ = 0;
    unsigned garbageSeed_ = 12345;
};

}  // namespace sigcond::sim
