// The Telnet side of a connection to a serial device server: option negotiation, the escaping
// of byte 255, and the COM-PORT-OPTION commands that set a remote serial line. Bytes in, bytes
// out; no sockets. The network port adapter moves what this produces and feeds what arrives.
//
// The link wants an 8-bit clean path in both directions (a bare carriage return ends every
// frame), no go-ahead signals and remote line control: BINARY both ways, SUPPRESS-GO-AHEAD and
// COM-PORT-OPTION on our side. Every other option is refused, and a request for a state that
// is already in force gets no answer, so two parties can never keep answering each other.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sigcond::telnet {

// Commands and options, as the Telnet documents number them.
inline constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251,
                              kSb = 250, kSe = 240;
inline constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPortOption = 44;

// COM-PORT-OPTION commands from the client; the server answers with the code + 100.
inline constexpr std::uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                              kPurgeData = 12;
inline constexpr std::uint8_t kServerOffset = 100;
// SET-PARITY values and the PURGE-DATA value for the server's buffer of received data.
inline constexpr std::uint8_t kParityNone = 1, kParityOdd = 2, kParityEven = 3;
inline constexpr std::uint8_t kPurgeReceived = 1;

// Longest subnegotiation kept (the longest the server sends the link is 6 bytes); the rest of
// a longer one is dropped with it.
inline constexpr std::size_t kMaxSubnegotiation = 64;

// Line settings as they go over the wire.
struct LineSettings {
    std::uint32_t baud = 9600;
    std::uint8_t dataSize = 7;
    std::uint8_t parity = kParityOdd;  // kParityNone, kParityOdd, kParityEven
    std::uint8_t stopSize = 1;         // 1 or 2
};

// "4800,E,7,1" -> LineSettings; fields that do not parse keep the values of `base`.
LineSettings parseLineSettings(std::string_view text, LineSettings base = {});
// LineSettings -> "4800,E,7,1" (a parity the link never uses shows as "M", "S" or "?").
std::string formatLineSettings(const LineSettings& settings);

class Codec {
public:
    // `lineControl`: the server is asked for COM-PORT-OPTION (rfc2217://).
    explicit Codec(bool lineControl);

    // What to send first on a new connection: our requests for the options we want.
    std::string opening();

    // Feeds received bytes; returns the data among them, Telnet commands and escapes removed.
    // Answers to the server's requests collect in replies(). Keeps its state between calls, so
    // a command may be split anywhere.
    std::string receive(std::string_view bytes);
    // Takes the answers collected so far (to be sent as they are).
    std::string takeReplies();

    // Data to send, with byte 255 doubled (and a carriage return followed by NUL while the
    // server has not agreed to binary transmission from us).
    std::string encode(std::string_view data) const;

    // SET-BAUDRATE, SET-DATASIZE, SET-PARITY, SET-STOPSIZE and PURGE-DATA (the server's
    // received data) as one piece, to be written at once. Forgets earlier acknowledgements.
    std::string lineSettingsCommands(const LineSettings& settings);

    // Acknowledgements of the last lineSettingsCommands(): the values the server reported for
    // baud, data size, parity and stop size, and how many of the four have come.
    const LineSettings& acknowledged() const { return acknowledged_; }
    int acknowledgedCount() const;
    // Whether every acknowledgement that came reports the value asked for.
    bool acknowledgedAsAsked() const;

    // The server's answer to our request for COM-PORT-OPTION has come (DO or DONT).
    bool lineControlAnswered() const { return !pendingLocal_[kComPortOption]; }
    // The server agreed to COM-PORT-OPTION.
    bool lineControlAgreed() const { return local_[kComPortOption]; }

    // Negotiation state, for the tests: we do the option / the server does it.
    bool localEnabled(std::uint8_t option) const { return local_[option]; }
    bool remoteEnabled(std::uint8_t option) const { return remote_[option]; }

private:
    enum class State { Data, Iac, Verb, Sub, SubIac };

    void negotiate(std::uint8_t verb, std::uint8_t option);
    // One side of an option: the peer asks to turn it on or off; `agree`/`refuse` are the verbs
    // of our answer (WILL/WONT for our side, DO/DONT for the server's).
    void answer(bool& enabled, bool& pending, bool on, bool wanted, std::uint8_t agree,
                std::uint8_t refuse, std::uint8_t option);
    void subnegotiation();
    void reply(std::uint8_t verb, std::uint8_t option);
    bool wantLocal(std::uint8_t option) const;
    bool wantRemote(std::uint8_t option) const;
    void iacCommand(std::uint8_t command);

    bool lineControl_;
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    bool lastWasCarriageReturn_ = false;
    std::array<std::uint8_t, kMaxSubnegotiation> sub_{};
    std::size_t subLength_ = 0;
    bool subOverflow_ = false;
    std::array<bool, 256> local_{};          // we do the option
    std::array<bool, 256> remote_{};         // the server does it
    std::array<bool, 256> pendingLocal_{};   // we sent WILL and await DO/DONT
    std::array<bool, 256> pendingRemote_{};  // we sent DO and await WILL/WONT
    std::string replies_;
    std::string data_;
    LineSettings acknowledged_{0, 0, 0, 0};
    LineSettings asked_;
    std::array<bool, 4> ackSeen_{};
};

}  // namespace sigcond::telnet
