#include "sim/model/unit_model.h"

#include <gtest/gtest.h>

#include <limits>

namespace sigcond::sim {
namespace {

const LineSettings kUnitLine{9600, 'O', 7, 1};

// Sends one frame at `seconds` and returns every reply character due within the next minute.
std::string exchange(UnitModel& unit, const std::string& command, double seconds = 0.0,
                     const LineSettings& line = kUnitLine) {
    unit.receive("*" + command + "\r", line, seconds);
    return unit.takeOutput(seconds + 60.0);
}

TEST(UnitModel, IdentifiesItselfWithTheTypeCodeOfEachInputType) {
    const std::pair<UnitType, const char*> codes[] = {
        {UnitType::FP, "00"},  {UnitType::PR, "01"},  {UnitType::ST, "02"}, {UnitType::TC, "03"},
        {UnitType::RTD, "04"}, {UnitType::ACV, "05"}, {UnitType::ACC, "06"}};
    for (const auto& [type, code] : codes) {
        UnitModel unit(type);
        EXPECT_EQ(exchange(unit, "U01"), std::string("U01") + code + "\r");
        EXPECT_EQ(unitTypeFromText(unitTypeInfo(type).name), type);
        EXPECT_EQ(unitTypeFromText(code), type);
    }
    EXPECT_EQ(unitTypeFromText("rtd"), UnitType::RTD);
    EXPECT_FALSE(unitTypeFromText("XX").has_value());
}

TEST(UnitModel, ReadsFactoryRegistersAndKeepsWrittenValues) {
    UnitModel unit(UnitType::FP);
    EXPECT_EQ(exchange(unit, "R01"), "R0129\r");
    EXPECT_EQ(exchange(unit, "R02"), "R0246\r");
    EXPECT_EQ(exchange(unit, "R04"), "R0406\r");
    EXPECT_EQ(exchange(unit, "R3C"), "R3C500000500000\r");
    EXPECT_EQ(exchange(unit, "R3D"), "R3D5186A05186A0\r");
    EXPECT_EQ(exchange(unit, "R0D"), "R0DFF\r");
    EXPECT_EQ(exchange(unit, "R0E"), "R0EFB\r");
    EXPECT_EQ(exchange(unit, "R05"), "R0520000A\r");
    EXPECT_EQ(exchange(unit, "R06"), "R06200000\r");

    EXPECT_EQ(exchange(unit, "W0104"), "W01\r");
    EXPECT_EQ(exchange(unit, "R01"), "R0104\r");
    EXPECT_EQ(exchange(unit, "W3D5186A05186A0"), "W3D\r");
    EXPECT_EQ(exchange(unit, "R3D"), "R3D5186A05186A0\r");
    EXPECT_EQ(exchange(unit, "W0814"), "W08\r");
    EXPECT_EQ(unit.registerValue("08"), "14");
    EXPECT_EQ(exchange(unit, "Z01"), "Z01\r");

    // Direct set-up for tests checks width and digits.
    EXPECT_TRUE(unit.setRegister("03", "05"));
    EXPECT_EQ(exchange(unit, "R03"), "R0305\r");
    EXPECT_FALSE(unit.setRegister("03", "5"));
    EXPECT_FALSE(unit.setRegister("99", "00"));
}

TEST(UnitModel, RejectsWhatItDoesNotAccept) {
    UnitModel unit;
    for (const char* command : {"Q01", "R99", "R0", "R011", "W01", "W011", "W01123", "W01zz",
                                "W01ab", "R08", "U02", "X1", ""}) {
        EXPECT_EQ(exchange(unit, command), "?\r") << command;
    }
    EXPECT_EQ(unit.registerValue("01"), "29");  // nothing rejected was stored
    // Bytes ahead of the frame start are line noise; a line without "*" is not for the unit.
    unit.receive("\x05*R02\r", kUnitLine, 1.0);
    EXPECT_EQ(unit.takeOutput(2.0), "R0246\r");
    unit.receive("R02\r", kUnitLine, 3.0);
    EXPECT_EQ(unit.takeOutput(4.0), "");
}

TEST(UnitModel, FormatsReadingsLikeTheUnitDisplay) {
    EXPECT_EQ(formatReading(12.34, 2), "  12.34");
    EXPECT_EQ(formatReading(0, 0), "     0.");
    EXPECT_EQ(formatReading(-5.5, 1), "   -5.5");
    EXPECT_EQ(formatReading(-123.456, 2), "-123.46");
    EXPECT_EQ(formatReading(12345.678, 3), "12345.7");  // fewer decimals where room is short
    EXPECT_EQ(formatReading(123456.7, 2), "123457.");
    EXPECT_EQ(formatReading(12345678, 2), kOverRangeHigh);
    EXPECT_EQ(formatReading(-1234567, 0), kOverRangeLow);
    EXPECT_EQ(formatReading(std::numeric_limits<double>::quiet_NaN(), 2), kOverRangeHigh);

    UnitModel unit;
    unit.setReading(ReadingSource::fixed(12.34));
    EXPECT_EQ(exchange(unit, "X01"), "X01  12.34\r");
    unit.setReading(ReadingSource::verbatim(kOverRangeLow));
    EXPECT_EQ(exchange(unit, "X01"), "X01?-99999\r");
    unit.setReading(ReadingSource::verbatim(kErrorReadingLow));
    EXPECT_EQ(exchange(unit, "X01"), "X01  -E   \r");

    // A wave moves through its range over its period.
    unit.setReading(ReadingSource::wave(100.0, 50.0, 40.0, 1));
    EXPECT_EQ(exchange(unit, "X01", 0.0), "X01  100.0\r");
    EXPECT_EQ(exchange(unit, "X01", 10.0), "X01  150.0\r");
    EXPECT_EQ(exchange(unit, "X01", 30.0), "X01   50.0\r");
}

TEST(UnitModel, FrequencyUnitAnswersTheFirstReadingAfterItsGateTime) {
    UnitModel unit(UnitType::FP);
    unit.setReading(ReadingSource::fixed(50.0, 0));
    ASSERT_TRUE(unit.setRegister("0D", "14"));  // 20 counts of 10 ms
    EXPECT_DOUBLE_EQ(unit.gateSeconds(), 0.2);

    unit.receive("*X01\r", kUnitLine, 10.0);
    EXPECT_EQ(unit.takeOutput(10.19), "");
    EXPECT_EQ(unit.takeOutput(10.2), "X01    50.\r");
    // While requests keep coming the unit keeps measuring and answers at once.
    EXPECT_EQ(exchange(unit, "X01", 10.5), "X01    50.\r");
    unit.receive("*X01\r", kUnitLine, 10.9);
    EXPECT_EQ(unit.takeOutput(10.9), "X01    50.\r");
    // After a long pause it starts over with a slow first reading.
    unit.receive("*X01\r", kUnitLine, 30.0);
    EXPECT_EQ(unit.takeOutput(30.1), "");
    EXPECT_EQ(unit.takeOutput(30.2), "X01    50.\r");

    // Register 0D at 0 means the shortest gate, 3 ms.
    ASSERT_TRUE(unit.setRegister("0D", "00"));
    EXPECT_DOUBLE_EQ(unit.gateSeconds(), 0.003);
}

TEST(UnitModel, AnswersGarbageAtOtherLineSettingsAndLogsEveryFrame) {
    UnitModel unit(UnitType::TC);
    unit.faults().answerAt = {4800, 'E', 7, 1};
    const LineSettings tries[] = {
        {9600, 'O', 7, 1}, {9600, 'E', 7, 1}, {9600, 'N', 7, 2}, {19200, 'O', 7, 1}};
    for (const auto& line : tries) {
        const std::string reply = exchange(unit, "U01", 0.0, line);
        ASSERT_EQ(reply.size(), 6u);
        EXPECT_EQ(reply.back(), '\r');
        const char head = static_cast<char>(reply[0] & 0x7F);
        EXPECT_NE(head, 'U');
        EXPECT_NE(head, '?');
    }
    EXPECT_EQ(exchange(unit, "U01", 0.0, {4800, 'E', 7, 1}), "U0103\r");
    const std::vector<std::string> expected = {"9600,O,7,1 U01", "9600,E,7,1 U01", "9600,N,7,2 U01",
                                               "19200,O,7,1 U01", "4800,E,7,1 U01"};
    EXPECT_EQ(unit.frameLines(), expected);

    unit.receive("*R0\x01\r", {4800, 'E', 7, 1}, 5.0);
    EXPECT_EQ(unit.frames().back().logLine(), "4800,E,7,1 R0\\x01");
    EXPECT_DOUBLE_EQ(unit.frames().back().seconds, 5.0);
}

TEST(UnitModel, FaultsSilenceRejectionNoiseAndPartialReplies) {
    UnitModel unit;
    unit.faults().silentCommands = {"R05", "W0814"};
    EXPECT_EQ(exchange(unit, "R05"), "");
    EXPECT_EQ(exchange(unit, "W0814"), "");
    EXPECT_EQ(exchange(unit, "W0815"), "W08\r");  // a full command matches only itself

    unit.faults().rejections = {{"R01", 2}};
    EXPECT_EQ(exchange(unit, "R01"), "?\r");
    EXPECT_EQ(exchange(unit, "R01"), "?\r");
    EXPECT_EQ(exchange(unit, "R01"), "R0129\r");

    unit.faults().noise = "#&";
    EXPECT_EQ(exchange(unit, "R02"), "#&R0246\r");
    unit.faults().noise.clear();

    unit.faults().partialLength = 4;
    unit.faults().partialCommands = {"R3C"};
    EXPECT_EQ(exchange(unit, "R3C"), "R3C5");
    EXPECT_EQ(exchange(unit, "R02"), "R0246\r");
    unit.faults().partialCommands.clear();
    EXPECT_EQ(exchange(unit, "R02"), "R024");
    unit.faults().partialLength = -1;

    unit.faults().ignoredWrites = {"04"};
    EXPECT_EQ(exchange(unit, "W0401"), "W04\r");
    EXPECT_EQ(exchange(unit, "R04"), "R0406\r");

    // From the n-th frame on nothing is answered (frames so far: 12).
    unit.faults().silentFromFrame = 14;
    EXPECT_EQ(exchange(unit, "Z01"), "Z01\r");
    EXPECT_EQ(exchange(unit, "Z01"), "");
    EXPECT_EQ(exchange(unit, "U01"), "");
    EXPECT_EQ(unit.frames().size(), 15u);  // silent frames are still logged

    UnitModel flaky;
    flaky.faults().dropEvery = 3;
    std::string replies;
    for (int i = 0; i < 6; ++i) replies += exchange(flaky, "Z01").empty() ? "-" : "Z";
    EXPECT_EQ(replies, "ZZ-ZZ-");
}

TEST(UnitModel, DelayAndWireTimeSetWhenEachCharacterArrives) {
    UnitModel unit;
    unit.faults().replyDelaySeconds = 0.05;
    unit.receive("*R01\r", kUnitLine, 1.0);
    EXPECT_EQ(unit.nextOutputTime(), 1.05);
    EXPECT_EQ(unit.takeOutput(1.049), "");
    EXPECT_EQ(unit.takeOutput(1.05), "R0129\r");

    // 7 data bits + parity + start + stop = 10 bits: 1/960 s a character at 9600 baud.
    unit.faults().replyDelaySeconds = 0;
    unit.faults().wireTime = true;
    unit.receive("*U01\r", kUnitLine, 2.0);
    const double character = 10.0 / 9600.0;
    EXPECT_NEAR(*unit.nextOutputTime(), 2.0 + character, 1e-12);
    EXPECT_EQ(unit.takeOutput(2.0 + 3.5 * character), "U01");
    EXPECT_EQ(unit.takeOutput(2.0 + 6 * character + 1e-12), "03\r");
    // Replies queue behind each other on the line.
    unit.receive("*Z01\r*Z01\r", kUnitLine, 3.0);
    EXPECT_EQ(unit.takeOutput(3.0 + 4 * character + 1e-12), "Z01\r");
    EXPECT_EQ(unit.takeOutput(3.0 + 7.5 * character), "Z01");

    EXPECT_EQ((LineSettings{1200, 'N', 7, 2}).bitsPerCharacter(), 10);
    EXPECT_EQ((LineSettings{1200, 'E', 8, 1}).bitsPerCharacter(), 11);
    EXPECT_EQ(LineSettings::parse("4800,e,7,1"), (LineSettings{4800, 'E', 7, 1}));
    EXPECT_EQ(LineSettings::parse("9600,N"), (LineSettings{9600, 'N', 7, 2}));
    EXPECT_FALSE(LineSettings::parse("9600,X,7,1").has_value());
    EXPECT_FALSE(LineSettings::parse("fast,O,7,1").has_value());
    EXPECT_FALSE(LineSettings::parse("9600,O,7,3").has_value());
}

}  // namespace
}  // namespace sigcond::sim
