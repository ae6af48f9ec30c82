#include "ui/gate_debounce_entry.h"

#include <gtest/gtest.h>

#include "config/option_catalogue.h"
#include "program.h"
#include "sim/model/simulated_port.h"
#include "support/scripted_dialogs.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

using test::ScriptedDialogs;

constexpr const char* kGateNote = "\rGate time = 3 ms";
constexpr const char* kGatePrompt =
    "Enter the value for Gate time\r\none count = 10 ms\r\r if 0 then \rGate time = 3 ms";
constexpr const char* kDebouncePrompt = "Enter the value for Debounce time\r\none count = 5 ms\r\r";

// A frequency/pulse configuration on the main screen, in demo work unless told otherwise.
struct EntryBench {
    sim::VirtualClock clock;
    sim::UnitModel unit{sim::UnitType::FP};
    sim::SimulatedPort port{unit, clock};
    ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    EntryBench() {
        p.config.inputType = "FP";
        buildOptionCatalogue(p);
        initMainScreen(p);
        p.form1.loaded = true;
    }
    void enterGate(std::string& value) {
        enterGateOrDebounce(p, "Gate time", value, "10 ms", kGateNote);
    }
    void enterDebounce(std::string& value) {
        enterGateOrDebounce(p, "Debounce time", value, "5 ms", "'Error'");
    }
};

TEST(TypedCountCheck, GateTimeFaults) {
    const auto gate = [](const std::string& answer) { return checkTypedCount("Gate time", answer); };
    EXPECT_EQ(gate("0"), kCountAccepted);  // the unit then gates for 3 ms
    EXPECT_EQ(gate("240"), kCountAccepted);
    EXPECT_EQ(gate(" 12 "), kCountAccepted);
    EXPECT_EQ(gate(""), kCountAccepted);  // no change
    EXPECT_EQ(gate("241"), kGateOutOfRange);
    EXPECT_EQ(gate("-5"), kGateOutOfRange);
    EXPECT_EQ(gate("1.5"), kCountNotInteger);
    EXPECT_EQ(gate("-1.5"), kGateOutOfRange);  // the range fault replaces the integer fault
    EXPECT_EQ(gate("1 2"), kCountInvalid);
    EXPECT_EQ(gate("1234"), kCountTooLong);
    EXPECT_EQ(gate("0012"), kCountTooLong);
    EXPECT_EQ(gate("1.2.3"), kCountInvalid);  // two points
    EXPECT_EQ(gate("12a"), kCountInvalid);
    EXPECT_EQ(gate("5-"), kCountInvalid);
    EXPECT_EQ(gate(" -5"), kCountInvalid);  // "-" only as the first character
    EXPECT_EQ(gate("\xB0"), kCountInvalid);
}

TEST(TypedCountCheck, DebounceTimeFaults) {
    const auto debounce = [](const std::string& answer) {
        return checkTypedCount("Debounce time", answer);
    };
    EXPECT_EQ(debounce("1"), kCountAccepted);
    EXPECT_EQ(debounce("255"), kCountAccepted);
    EXPECT_EQ(debounce(""), kCountAccepted);
    EXPECT_EQ(debounce("0"), kDebounceOutOfRange);
    EXPECT_EQ(debounce("000"), kDebounceOutOfRange);
    EXPECT_EQ(debounce("256"), kDebounceOutOfRange);
    EXPECT_EQ(debounce("-1"), kDebounceOutOfRange);
    EXPECT_EQ(debounce("0.5"), kCountNotInteger);
}

TEST(GateDebounceEntry, FirstBoxAndCancelLeaveTheValueAlone) {
    EntryBench b;
    std::string gate = "000";
    b.dialogs.inputs = {std::nullopt};
    b.enterGate(gate);
    ASSERT_EQ(b.dialogs.inputBoxes.size(), 1u);
    EXPECT_EQ(b.dialogs.inputBoxes[0].prompt, kGatePrompt);
    EXPECT_EQ(b.dialogs.inputBoxes[0].title, "Gate time");
    EXPECT_EQ(b.dialogs.inputBoxes[0].defaultText, "000");
    EXPECT_FALSE(b.dialogs.inputBoxes[0].position.has_value());
    EXPECT_EQ(gate, "000");
    EXPECT_TRUE(b.dialogs.messages.empty());
    EXPECT_EQ(b.dialogs.beeps, 0);

    std::string debounce = "001";
    b.dialogs.inputs = {""};  // the box cleared and confirmed
    b.enterDebounce(debounce);
    EXPECT_EQ(b.dialogs.inputBoxes.back().prompt, kDebouncePrompt);
    EXPECT_EQ(b.dialogs.inputBoxes.back().title, "Debounce time");
    EXPECT_EQ(debounce, "001");
    EXPECT_TRUE(b.dialogs.messages.empty());
}

TEST(GateDebounceEntry, RejectedAnswerIsAskedAgainWithItsFaultThenAcceptedWithItsBlanks) {
    EntryBench b;
    std::string gate = "000";
    b.dialogs.inputs = {"241", "1.5", "1 2", "1234", "1..", " 12 "};
    b.dialogs.answers = {Answer::No};
    b.enterGate(gate);

    const std::string count = "\r\none count = 10 ms if 0 then \rGate time = 3 ms";
    const std::vector<std::string> faults = {
        "The input should be  from 0 to 240.\r\nPlease enter again.",
        "The input should be an integer. \r\nPlease enter again.",
        "You have entered invalid number.\r\nPlease enter again.",
        "The input should not be  more than 3 digits .\r\nPlease enter again.",
        "You have entered invalid number.\r\nPlease enter again.",
    };
    const std::vector<std::string> rejected = {"241", "1.5", "1 2", "1234", "1.."};
    ASSERT_EQ(b.dialogs.inputBoxes.size(), 6u);
    for (std::size_t n = 0; n < faults.size(); ++n) {
        const auto& box = b.dialogs.inputBoxes[n + 1];
        EXPECT_EQ(box.prompt, faults[n] + count) << n;
        EXPECT_EQ(box.title, "Gate time");
        EXPECT_EQ(box.defaultText, rejected[n]);
        ASSERT_TRUE(box.position.has_value());
        EXPECT_EQ(box.position->leftTwips, 800);
        EXPECT_EQ(box.position->topTwips, 3000);
    }
    EXPECT_EQ(b.dialogs.beeps, 5);
    EXPECT_EQ(gate, " 12 ");
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "Do you want to send configuration to the unit now  ?\r(You can send later)");
    EXPECT_EQ(b.dialogs.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Question);
    EXPECT_EQ(b.dialogs.messages[0].title, " ");
}

TEST(GateDebounceEntry, CancelAfterRejectionRestoresTheEarlierValueAndAsksNothing) {
    EntryBench b;
    std::string gate = "005";
    b.dialogs.inputs = {"300", std::nullopt};
    b.enterGate(gate);
    EXPECT_EQ(gate, "005");
    EXPECT_TRUE(b.dialogs.messages.empty());

    std::string debounce = "010";
    b.dialogs.inputs = {"0", ""};
    b.enterDebounce(debounce);
    EXPECT_EQ(b.dialogs.inputBoxes.back().prompt,
              "The input should be  from 1 to 255.\r\nPlease enter again.\r\none count = 5 ms");
    EXPECT_EQ(debounce, "010");
    EXPECT_TRUE(b.dialogs.messages.empty());
}

TEST(GateDebounceEntry, OnlyAChangedValueOffersToSend) {
    EntryBench b;
    std::string gate = "010";
    b.dialogs.inputs = {"010"};
    b.enterGate(gate);
    EXPECT_TRUE(b.dialogs.messages.empty());

    // "10" is another text for the same count: the setting changed as typed, so it is offered.
    b.dialogs.inputs = {"10"};
    b.dialogs.answers = {Answer::No};
    b.enterGate(gate);
    EXPECT_EQ(gate, "10");
    EXPECT_EQ(b.dialogs.messages.size(), 1u);
}

TEST(GateDebounceEntry, YesInDemoWorkReportsThatNoUnitIsConnected) {
    EntryBench b;
    b.p.screen.unitConnected = -1;
    b.dialogs.inputs = {"12"};
    b.dialogs.answers = {Answer::Yes};
    onGateTimeMenu(b.p);
    EXPECT_EQ(b.p.config.gateTimeText, "12");
    ASSERT_EQ(b.dialogs.messages.size(), 1u);  // the question is asked without a unit too
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 3u);
    EXPECT_TRUE(b.p.form1.Picture1.visible);
    EXPECT_EQ(b.p.form1.Picture1.lines[2], "   You have chosen 'SIGNAL CONDITIONER  ");
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_EQ(b.p.screen.deferredAction, 0);

    b.dialogs.inputs = {"7"};
    b.dialogs.answers = {Answer::No};
    onDebounceTimeMenu(b.p);
    EXPECT_EQ(b.p.config.debounceTimeText, "7");
    EXPECT_EQ(b.dialogs.inputBoxes.back().defaultText, "001");
}

}  // namespace
}  // namespace sigcond
