// Feeds arbitrary reply bytes through sendCommand for several commands and link modes: the
// exchange must end, return no more data than asked and never touch memory it does not own.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/send_command.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "program.h"
#include "quiet_doubles.h"
#include "sim/model/virtual_clock.h"

namespace {

using namespace sigcond;
using fuzz::QuietDialogs;
using fuzz::QuietPort;

// Answers each frame with the next scripted reply, arriving in two pieces on a virtual clock.
class FuzzPort : public SerialPort {
public:
    explicit FuzzPort(sim::VirtualClock& clock) : clock_(clock) {}
    std::deque<std::string> replies;
    std::string unasked;  // waiting before the first frame (a late answer)

    void setPortNumber(int) override {}
    void setLineSettings(const std::string&) override {}
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(const std::string&) override {
        if (replies.empty()) return true;
        const std::string reply = std::move(replies.front());
        replies.pop_front();
        const std::size_t half = reply.size() / 2;
        const double now = clock_.monotonicSeconds();
        pending_.push_back({now + 0.05, reply.substr(0, half)});
        pending_.push_back({now + 0.3, reply.substr(half)});
        return true;
    }
    int waitingCount() override {
        deliver();
        return static_cast<int>(received_.size());
    }
    std::string readAll() override {
        deliver();
        std::string out;
        out.swap(received_);
        return out;
    }
    bool waitForData(int timeoutMs) override {
        deliver();
        if (!received_.empty()) return true;
        const double limit = clock_.monotonicSeconds() + timeoutMs / 1000.0;
        if (!pending_.empty() && pending_.front().at <= limit) {
            clock_.advance(pending_.front().at - clock_.monotonicSeconds());
        } else {
            clock_.advance(timeoutMs / 1000.0);
        }
        deliver();
        return !received_.empty();
    }
    std::string errorText() const override { return {}; }
    bool failed() const override { return false; }

    void start() { received_ = unasked; }

private:
    struct Piece {
        double at;
        std::string text;
    };
    void deliver() {
        const double now = clock_.monotonicSeconds() + 1e-9;
        while (!pending_.empty() && pending_.front().at <= now) {
            received_ += pending_.front().text;
            pending_.erase(pending_.begin());
        }
    }
    sim::VirtualClock& clock_;
    std::vector<Piece> pending_;
    std::string received_;
};

struct Case {
    const char* command;
    int replyLength;
};
constexpr Case kCases[] = {{"R03", 2}, {"R3C", 12},  {"R05", 6}, {"X01", 7},
                           {"U01", 2}, {"W0129", 0}, {"Z01", 0}, {"W3C500000500000", 0}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t select = data[0];
    const std::uint8_t mode = data[1];
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    sim::VirtualClock clock;
    FuzzPort port(clock);
    QuietDialogs dialogs;
    Program p(port, clock, dialogs);

    // Replies are separated by byte 0xFF; the part before the first one is already waiting.
    std::size_t from = 0;
    bool first = true;
    for (;;) {
        const std::size_t sep = bytes.find('\xff', from);
        std::string part = bytes.substr(from, sep == std::string::npos ? sep : sep - from);
        if (first && (mode & 0x40)) {
            port.unasked = std::move(part);
        } else {
            port.replies.push_back(std::move(part));
        }
        first = false;
        if (sep == std::string::npos) break;
        from = sep + 1;
    }
    port.start();

    const Case& c = kCases[select % (sizeof kCases / sizeof kCases[0])];
    p.config.inputType = (mode & 1) ? "FP" : "TC";
    p.link.identifyMode = (mode & 2) != 0;
    p.live.liveStep = (mode & 4) ? 1 : 0;
    p.link.quickPollMode = (mode & 8) != 0;
    p.link.longTimeoutOnce = (mode & 16) != 0;
    p.link.settledCount = (mode & 32) ? 0 : 3;
    p.transfer.unitIdentified = (mode & 128) ? 1 : 0;
    p.link.gateRegisterValue = bytes.substr(0, select % 3);

    // Several calls, so a frequency deferral runs its course too.
    for (int call = 0; call < 4; ++call) {
        sendCommand(p, c.command, c.replyLength);
        const bool reading = std::string(c.command) == "X01";
        if ((!reading || p.link.identifyMode) &&
            p.link.replyText.size() > static_cast<std::size_t>(c.replyLength)) {
            __builtin_trap();
        }
        if (p.link.linkError != 0 && p.link.linkError != 1) __builtin_trap();
        if (p.link.deferredPolls < 0 || p.link.deferredPolls > 1000) __builtin_trap();
        if (clock.monotonicSeconds() > 4.0 * 3 * (call + 1) + 1) __builtin_trap();
    }
    return 0;
}
