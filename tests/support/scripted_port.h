// Test double for the serial port: records every frame written, with the line settings in
// force, and answers from a script on a virtual clock, so link tests are exact and take no
// real time.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "sim/model/virtual_clock.h"

namespace sigcond::test {

// Characters that arrive `delay` seconds after the frame was written.
struct ReplyPiece {
    double delay = 0.0;
    std::string text;
};

// The answer to one frame: pieces in order, or nothing at all (silent).
struct ScriptedReply {
    std::vector<ReplyPiece> pieces;
    static ScriptedReply silent() { return {}; }
    static ScriptedReply text(std::string reply, double delay = 0.0) {
        return {{{delay, std::move(reply)}}};
    }
};

struct SentFrame {
    std::string text;             // as written, "*R03\r"
    std::string lineSettings;     // e.g. "9600,O,7,1"
    double at = 0.0;              // virtual time of the write
    std::string command() const;  // the text between "*" and the carriage return
};

class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(sim::VirtualClock& clock) : clock_(clock) {}

    // Answers for the next frames, one each, in order.
    std::deque<ScriptedReply> script;
    // Consulted when the script is empty: answer to a command at the line settings in force.
    // Without it (or when it returns nothing) the unit is silent.
    std::function<std::optional<ScriptedReply>(const std::string& command,
                                               const std::string& lineSettings)>
        responder;

    void reply(std::string text, double delay = 0.0) {
        script.push_back(ScriptedReply::text(std::move(text), delay));
    }
    void silence() { script.push_back(ScriptedReply::silent()); }
    // Characters that arrive `delay` seconds from now, unasked (a late answer, noise).
    void arrive(std::string text, double delay = 0.0);

    bool failOpen = false;
    bool failWrite = false;  // writes are refused (the port reports a failure)

    std::vector<SentFrame> frames;
    std::vector<std::string> commands() const;
    int portNumber = 0;
    std::string lineSettings;
    int openCalls = 0;
    int waitCalls = 0;
    int longestWaitMs = 0;

    void setPortNumber(int number) override { portNumber = number; }
    void setLineSettings(const std::string& settings) override { lineSettings = settings; }
    bool open() override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const std::string& text) override;
    int waitingCount() override;
    std::string readAll() override;
    bool waitForData(int timeoutMs) override;
    std::string errorText() const override { return error_; }
    bool failed() const override { return failed_; }

private:
    struct Pending {
        double at;
        std::string text;
    };
    void deliverDue();
    void schedule(double at, std::string text);

    sim::VirtualClock& clock_;
    std::vector<Pending> pending_;  // ordered by arrival time
    std::string received_;
    std::string error_;
    bool open_ = false;
    bool failed_ = false;  // a write was refused while open, since the last open()
};

}  // namespace sigcond::test
