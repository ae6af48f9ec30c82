// The Telnet codec against byte sequences worked out by hand from the Telnet documents (option
// negotiation, IAC escapes, subnegotiations, COM-PORT-OPTION) and from what a ser2net 4.3
// server sends on a new connection.
#include "link/telnet_codec.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "link/port_url.h"

namespace sigcond::telnet {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) out += static_cast<char>(v);
    return out;
}

Codec negotiated() {
    Codec codec(true);
    codec.opening();
    codec.receive(bytes({255, 251, 3,   255, 253, 3,   255, 251, 1,   255, 254,
                         1,   255, 253, 0,   255, 251, 0,   255, 253, 44}));
    codec.takeReplies();
    return codec;
}

TEST(TelnetCodec, OpeningAndAServersGreetingAnswerOnlyWhatChangesState) {
    Codec codec(true);
    EXPECT_EQ(codec.opening(),
              bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
    // ser2net's greeting: WILL SGA, DO SGA, WILL ECHO, DONT ECHO, DO BINARY, WILL BINARY,
    // DO COM-PORT-OPTION. Only the echo is refused; the rest answer our own requests.
    EXPECT_EQ(codec.receive(bytes({255, 251, 3,   255, 253, 3,   255, 251, 1,   255, 254,
                                   1,   255, 253, 0,   255, 251, 0,   255, 253, 44})),
              "");
    EXPECT_EQ(codec.takeReplies(), bytes({255, 254, 1}));
    EXPECT_TRUE(codec.lineControlAgreed());
    EXPECT_TRUE(codec.localEnabled(kBinary) && codec.remoteEnabled(kBinary));
    EXPECT_FALSE(codec.remoteEnabled(1));
    // Asked again for what is in force: no answer, so nobody loops.
    codec.receive(bytes({255, 253, 3, 255, 251, 0, 255, 252, 1}));
    EXPECT_EQ(codec.takeReplies(), "");
    // Without our request: DO TERMINAL-TYPE refused, DO BINARY agreed once, DONT of an option
    // that is off ignored, DONT BINARY acknowledged.
    Codec fresh(false);
    fresh.receive(bytes({255, 253, 24, 255, 253, 0, 255, 253, 0, 255, 254, 24, 255, 254, 0}));
    EXPECT_EQ(fresh.takeReplies(), bytes({255, 252, 24, 255, 251, 0, 255, 252, 0}));
    // A server refusing COM-PORT-OPTION answers the request: no reply to that.
    Codec refused(true);
    refused.opening();
    refused.receive(bytes({255, 254, 44}));
    EXPECT_TRUE(refused.lineControlAnswered());
    EXPECT_FALSE(refused.lineControlAgreed());
    EXPECT_EQ(refused.takeReplies(), "");
}

TEST(TelnetCodec, DataKeepsByte255AndCarriageReturnsAcrossSplitReads) {
    Codec codec = negotiated();
    EXPECT_EQ(codec.encode("\xff*U01\r"), bytes({255, 255, '*', 'U', '0', '1', '\r'}));
    // A notice in the middle of a reply, an escaped 255, and every split of it.
    const std::string wire =
        "U0" + bytes({255, 250, 44, 107, 0, 255, 240}) + "1" + bytes({255, 255}) + "03\r";
    EXPECT_EQ(codec.receive(wire), std::string("U01\xff") + "03\r");
    std::string oneByOne;
    for (const char c : wire) oneByOne += codec.receive(std::string(1, c));
    EXPECT_EQ(oneByOne, std::string("U01\xff") + "03\r");
    EXPECT_EQ(codec.takeReplies(), "");
    // Before the server agrees to binary, CR travels as CR NUL both ways.
    Codec plain(true);
    EXPECT_EQ(plain.encode("*U01\r"), std::string("*U01\r\0", 6));
    EXPECT_EQ(plain.receive(std::string("U0103\r\0A", 8)), "U0103\rA");
}

TEST(TelnetCodec, LineSettingsGoAsComPortCommandsAndAcknowledgementsAreTaken) {
    Codec codec = negotiated();
    EXPECT_EQ(codec.lineSettingsCommands(parseLineSettings("4800,E,7,1")),
              bytes({255, 250, 44, 1,  0, 0,   0x12, 0xC0, 255, 240,  // SET-BAUDRATE 4800
                     255, 250, 44, 2,  7, 255, 240,                   // SET-DATASIZE 7
                     255, 250, 44, 3,  3, 255, 240,                   // SET-PARITY EVEN
                     255, 250, 44, 4,  1, 255, 240,                   // SET-STOPSIZE 1
                     255, 250, 44, 12, 1, 255, 240}));                // PURGE-DATA received
    const std::string none = codec.lineSettingsCommands(parseLineSettings("9600,N,7,2"));
    EXPECT_EQ(none.substr(0, 24),
              bytes({255, 250, 44, 1,   0,   0,   0x25, 0x80, 255, 240, 255, 250,
                     44,  2,   7,  255, 240, 255, 250,  44,   3,   1,   255, 240}));
    EXPECT_EQ(none.substr(24, 7), bytes({255, 250, 44, 4, 2, 255, 240}));
    // 255 inside a value is doubled, going out and coming back.
    EXPECT_EQ(codec.lineSettingsCommands({65535, 7, kParityOdd, 1}).substr(0, 12),
              bytes({255, 250, 44, 1, 0, 0, 255, 255, 255, 255, 255, 240}));
    EXPECT_EQ(codec.receive(
                  "X" + bytes({255, 250, 44,  101, 0,   0,   255, 255, 255, 255, 255, 240, 255,
                               250, 44,  102, 7,   255, 240, 255, 250, 44,  103, 2,   255, 240}) +
                  "Y"),
              "XY");
    EXPECT_EQ(codec.acknowledgedCount(), 3);
    EXPECT_EQ(codec.acknowledged().baud, 65535u);
    EXPECT_EQ(codec.acknowledged().dataSize, 7);
    EXPECT_EQ(codec.acknowledged().parity, kParityOdd);
    EXPECT_TRUE(codec.acknowledgedAsAsked());
    // A stop size other than the one asked for: the wire is not at the settings tried.
    codec.receive(bytes({255, 250, 44, 104, 2, 255, 240}));
    EXPECT_EQ(codec.acknowledgedCount(), 4);
    EXPECT_FALSE(codec.acknowledgedAsAsked());
    EXPECT_EQ(formatLineSettings(codec.acknowledged()), "65535,O,7,2");
}

TEST(TelnetCodec, OverlongAndCutShortSubnegotiationsAreDroppedAndTheStreamGoesOn) {
    Codec codec = negotiated();
    codec.lineSettingsCommands({});
    std::string flood = bytes({255, 250, 44, 101});
    flood += std::string(100000, '\x01');
    EXPECT_EQ(codec.receive(flood + bytes({255, 240}) + "ok"), "ok");
    EXPECT_EQ(codec.acknowledgedCount(), 0);
    // IAC DO inside a subnegotiation ends it; the DO is answered.
    EXPECT_EQ(codec.receive(bytes({255, 250, 44, 102, 7, 255, 253, 24}) + "go"), "go");
    EXPECT_EQ(codec.acknowledgedCount(), 0);
    EXPECT_EQ(codec.takeReplies(), bytes({255, 252, 24}));
}

TEST(PortUrl, AddressesAndWhatIsWrongWithThem) {
    std::string error;
    const auto a = parsePortUrl("rfc2217://cabinet-3.plant.example:2001", error);
    ASSERT_TRUE(a) << error;
    EXPECT_TRUE(a->lineControl);
    EXPECT_EQ(a->host, "cabinet-3.plant.example");
    EXPECT_EQ(a->port, 2001);
    const auto b = parsePortUrl("SOCKET://[fe80::1]:65535", error);
    ASSERT_TRUE(b) << error;
    EXPECT_FALSE(b->lineControl);
    EXPECT_EQ(b->host, "fe80::1");
    EXPECT_EQ(b->port, 65535);
    for (const char* bad : {"rfc2217://host", "rfc2217://host:0", "rfc2217://host:65536",
                            "rfc2217://:2001", "rfc2217://a b:1", "telnet://host:23",
                            "socket://[::1:23", "socket://host:23/x", "socket://u@host:23"}) {
        EXPECT_FALSE(parsePortUrl(bad, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
    EXPECT_TRUE(isPortUrl("telnet://host:23"));
    EXPECT_FALSE(isPortUrl("/dev/ttyUSB0"));
}

}  // namespace
}  // namespace sigcond::telnet
