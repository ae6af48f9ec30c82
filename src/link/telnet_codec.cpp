#include "link/telnet_codec.h"

#include <charconv>
#include <string>

namespace sigcond::telnet {

namespace {

// Answers held at most between two reads (each answer is 3 bytes; a server that asks for more
// is not answered beyond this).
constexpr std::size_t kMaxReplies = 4096;
constexpr char kCarriageReturn = '\r';

char byte(std::uint8_t value) { return static_cast<char>(value); }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// One COM-PORT-OPTION subnegotiation with its value bytes, 255 doubled.
std::string comPortCommand(std::uint8_t command, std::string_view value) {
    std::string out{byte(kIac), byte(kSb), byte(kComPortOption), byte(command)};
    for (const char c : value) {
        out += c;
        if (static_cast<std::uint8_t>(c) == kIac) out += c;
    }
    out += byte(kIac);
    out += byte(kSe);
    return out;
}

}  // namespace

LineSettings parseLineSettings(std::string_view text, LineSettings base) {
    LineSettings s = base;
    std::string_view fields[4];
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',');
        fields[i] = trimmed(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            text = {};
        } else {
            text.remove_prefix(comma + 1);
        }
    }
    std::uint32_t baud = 0;
    const auto [end, error] =
        std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), baud);
    if (error == std::errc() && end == fields[0].data() + fields[0].size() && baud > 0)
        s.baud = baud;
    if (fields[1] == "O" || fields[1] == "o") s.parity = kParityOdd;
    if (fields[1] == "E" || fields[1] == "e") s.parity = kParityEven;
    if (fields[1] == "N" || fields[1] == "n") s.parity = kParityNone;
    if (fields[2].size() == 1 && fields[2][0] >= '5' && fields[2][0] <= '8')
        s.dataSize = static_cast<std::uint8_t>(fields[2][0] - '0');
    if (fields[3] == "1" || fields[3] == "2")
        s.stopSize = static_cast<std::uint8_t>(fields[3][0] - '0');
    return s;
}

std::string formatLineSettings(const LineSettings& s) {
    const char parity = s.parity == kParityNone   ? 'N'
                        : s.parity == kParityOdd  ? 'O'
                        : s.parity == kParityEven ? 'E'
                        : s.parity == 4           ? 'M'
                        : s.parity == 5           ? 'S'
                                                  : '?';
    return std::to_string(s.baud) + ',' + parity + ',' + std::to_string(s.dataSize) + ',' +
           std::to_string(s.stopSize);
}

Codec::Codec(bool lineControl) : lineControl_(lineControl) {}

bool Codec::wantLocal(std::uint8_t option) const {
    return option == kBinary || option == kSuppressGoAhead ||
           (option == kComPortOption && lineControl_);
}

bool Codec::wantRemote(std::uint8_t option) const {
    return option == kBinary || option == kSuppressGoAhead;
}

std::string Codec::opening() {
    std::string out;
    for (const std::uint8_t option : {kBinary, kSuppressGoAhead, kComPortOption}) {
        if (wantLocal(option) && !local_[option]) {
            out += {byte(kIac), byte(kWill), byte(option)};
            pendingLocal_[option] = true;
        }
        if (wantRemote(option) && !remote_[option]) {
            out += {byte(kIac), byte(kDo), byte(option)};
            pendingRemote_[option] = true;
        }
    }
    return out;
}

void Codec::reply(std::uint8_t verb, std::uint8_t option) {
    if (replies_.size() + 3 > kMaxReplies) return;
    replies_ += {byte(kIac), byte(verb), byte(option)};
}

std::string Codec::takeReplies() {
    std::string out;
    out.swap(replies_);
    return out;
}

// A request is answered only when it would change the state; an answer to our own request
// (pending) completes it without a reply. DO/DONT ask about our side of the option, WILL/WONT
// about the server's; both sides follow the same rule.
void Codec::negotiate(std::uint8_t verb, std::uint8_t option) {
    if (verb == kDo || verb == kDont) {
        answer(local_[option], pendingLocal_[option], verb == kDo, wantLocal(option), kWill, kWont,
               option);
    } else if (verb == kWill || verb == kWont) {
        answer(remote_[option], pendingRemote_[option], verb == kWill, wantRemote(option), kDo,
               kDont, option);
    }
}

void Codec::answer(bool& enabled, bool& pending, bool on, bool wanted, std::uint8_t agree,
                   std::uint8_t refuse, std::uint8_t option) {
    if (on) {
        if (enabled) return;
        if (wanted) {
            enabled = true;
            if (!pending) reply(agree, option);
        } else if (!pending) {
            reply(refuse, option);
        }
    } else if (enabled) {
        enabled = false;
        if (!pending) reply(refuse, option);
    }
    pending = false;
}

// The server's answers to our line settings: the code + 100, then the value it reports.
void Codec::subnegotiation() {
    if (subOverflow_ || subLength_ < 3 || sub_[0] != kComPortOption) return;
    const std::uint8_t command = sub_[1];
    const std::uint8_t* value = &sub_[2];
    const std::size_t size = subLength_ - 2;
    switch (command) {
        case kServerOffset + kSetBaudRate:
            if (size < 4) return;
            acknowledged_.baud = (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) |
                                 (std::uint32_t{value[2]} << 8) | value[3];
            ackSeen_[0] = true;
            break;
        case kServerOffset + kSetDataSize:
            acknowledged_.dataSize = value[0];
            ackSeen_[1] = true;
            break;
        case kServerOffset + kSetParity:
            acknowledged_.parity = value[0];
            ackSeen_[2] = true;
            break;
        case kServerOffset + kSetStopSize:
            acknowledged_.stopSize = value[0];
            ackSeen_[3] = true;
            break;
        default:
            // Line and modem state notices, flow-control requests and the rest carry nothing
            // the link uses: a frame is a few bytes and the server buffers them.
            break;
    }
}

int Codec::acknowledgedCount() const {
    int n = 0;
    for (const bool seen : ackSeen_) n += seen ? 1 : 0;
    return n;
}

bool Codec::acknowledgedAsAsked() const {
    return (!ackSeen_[0] || acknowledged_.baud == asked_.baud) &&
           (!ackSeen_[1] || acknowledged_.dataSize == asked_.dataSize) &&
           (!ackSeen_[2] || acknowledged_.parity == asked_.parity) &&
           (!ackSeen_[3] || acknowledged_.stopSize == asked_.stopSize);
}

void Codec::iacCommand(std::uint8_t command) {
    switch (command) {
        case kIac:
            data_ += byte(kIac);
            lastWasCarriageReturn_ = false;
            state_ = State::Data;
            break;
        case kDo:
        case kDont:
        case kWill:
        case kWont:
            verb_ = command;
            state_ = State::Verb;
            break;
        case kSb:
            subLength_ = 0;
            subOverflow_ = false;
            state_ = State::Sub;
            break;
        default:
            // NOP, go-ahead, data mark, break, an SE out of place...: nothing for the link.
            state_ = State::Data;
            break;
    }
}

std::string Codec::receive(std::string_view bytes) {
    data_.clear();
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (state_) {
            case State::Data:
                if (b == kIac) {
                    state_ = State::Iac;
                    break;
                }
                // Without binary transmission a carriage return travels as CR NUL.
                if (b == 0 && lastWasCarriageReturn_ && !remote_[kBinary]) {
                    lastWasCarriageReturn_ = false;
                    break;
                }
                data_ += c;
                lastWasCarriageReturn_ = c == kCarriageReturn;
                break;
            case State::Iac:
                iacCommand(b);
                break;
            case State::Verb:
                negotiate(verb_, b);
                state_ = State::Data;
                break;
            case State::Sub:
                if (b == kIac) {
                    state_ = State::SubIac;
                } else if (subLength_ < sub_.size()) {
                    sub_[subLength_++] = b;
                } else {
                    subOverflow_ = true;
                }
                break;
            case State::SubIac:
                if (b == kIac) {
                    if (subLength_ < sub_.size()) {
                        sub_[subLength_++] = b;
                    } else {
                        subOverflow_ = true;
                    }
                    state_ = State::Sub;
                } else if (b == kSe) {
                    subnegotiation();
                    state_ = State::Data;
                } else {
                    // A subnegotiation cut short by another command: dropped, and the command
                    // taken as it stands.
                    iacCommand(b);
                }
                break;
        }
    }
    std::string out;
    out.swap(data_);
    return out;
}

std::string Codec::encode(std::string_view data) const {
    std::string out;
    out.reserve(data.size() + 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        out += c;
        if (static_cast<std::uint8_t>(c) == kIac) out += c;
        if (c == kCarriageReturn && !local_[kBinary] &&
            (i + 1 >= data.size() || data[i + 1] != '\n')) {
            out += '\0';
        }
    }
    return out;
}

std::string Codec::lineSettingsCommands(const LineSettings& s) {
    acknowledged_ = {0, 0, 0, 0};
    ackSeen_ = {};
    asked_ = s;
    const std::string baud{byte(static_cast<std::uint8_t>(s.baud >> 24)),
                           byte(static_cast<std::uint8_t>(s.baud >> 16)),
                           byte(static_cast<std::uint8_t>(s.baud >> 8)),
                           byte(static_cast<std::uint8_t>(s.baud))};
    return comPortCommand(kSetBaudRate, baud) +
           comPortCommand(kSetDataSize, std::string(1, byte(s.dataSize))) +
           comPortCommand(kSetParity, std::string(1, byte(s.parity))) +
           comPortCommand(kSetStopSize, std::string(1, byte(s.stopSize))) +
           comPortCommand(kPurgeData, std::string(1, byte(kPurgeReceived)));
}

}  // namespace sigcond::telnet
