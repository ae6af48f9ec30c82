#include "config/send_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "link/command_set.h"
#include "program.h"
#include "sim/model/simulated_port.h"
#include "support/scripted_dialogs.h"
#include "ui/events.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

struct TypeCase {
    const char* inputType;
    sim::UnitType unitType;
};

constexpr TypeCase kTypes[] = {
    {"TC", sim::UnitType::TC}, {"RTD", sim::UnitType::RTD}, {"PR", sim::UnitType::PR},
    {"ST", sim::UnitType::ST}, {"ACV", sim::UnitType::ACV}, {"ACC", sim::UnitType::ACC},
    {"FP", sim::UnitType::FP},
};

// A connected unit on the simulator, its configuration read (catalogue built), the main screen
// loaded with the live reading running.
struct SendBench {
    sim::VirtualClock clock;
    sim::UnitModel unit;
    sim::SimulatedPort port{unit, clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    explicit SendBench(const TypeCase& type) : unit(type.unitType) {
        fillLinkTables(p);
        resetLinkState(p);
        port.setPortNumber(1);
        port.setLineSettings("9600,O,7,1");
        port.open();
        p.config.inputType = type.inputType;
        buildOptionCatalogue(p);
        initMainScreen(p);
        p.form1.loaded = true;
        p.screen.unitConnected = 1;
        p.form1.Timer2.enabled = false;
        p.form1.Timer1.enabled = true;
        p.form1.Frame9.visible = true;
    }

    std::vector<std::string> sentCommands() const {
        std::vector<std::string> commands;
        for (const auto& f : unit.frames()) commands.push_back(f.frame);
        return commands;
    }

    // Starts the send as "&Send" does and runs the deferred-action tick that transmits it.
    void sendAndTick() {
        sendConfiguration(p);
        ASSERT_EQ(p.screen.deferredAction, kActionSend);
        ASSERT_TRUE(p.form1.Timer2.enabled);
        timer2Tick(p);
    }
};

// Commands a full send must write, in order, from the encoded image.
std::vector<std::string> expectedFullSend(const Program& p) {
    const RegisterImage& r = p.registers;
    std::vector<std::string> c = {"W01" + r.registerText[1], "W02" + r.registerText[2],
                                  "W04" + r.registerText[3], "W3C" + r.scalePairLow,
                                  "W3D" + r.scalePairHigh,   "W05" + r.scaleOffset[1],
                                  "W06" + r.scaleOffset[2]};
    if (p.config.inputType == "FP") {
        c.push_back("W0D" + r.registerText[5]);
        c.push_back("W0E" + r.registerText[6]);
    }
    if (p.config.inputType != "ACV" && p.config.inputType != "ACC") {
        c.push_back("W03" + r.registerText[7]);
    }
    c.push_back("W0814");
    c.push_back("Z01");
    return c;
}

// Picks that differ from the defaults in every group that is sent.
void editConfiguration(Program& p) {
    ConfigRecord& c = p.config;
    c.choice[kGroupInput][1] = 2;
    c.choice[kGroupFilter][1] = 5;  // "16"
    if (c.inputType != "ACV" && c.inputType != "ACC") c.choice[kGroupResolution][1] = 2;
    // Voltage output for the last item of group 2 (the analog output mode of every type).
    c.choice[kGroupMode][c.catalogue.itemCount[kGroupMode]] = 2;
    c.scalingText = {"", "5", "2.5", "105.5", "7.5"};
    c.gateTimeText = "012";
    c.debounceTimeText = " 20 ";
}

TEST(SendConfiguration, FullSendOfEveryTypeWritesTheEncodedRegistersInOrder) {
    for (const TypeCase& type : kTypes) {
        SCOPED_TRACE(type.inputType);
        SendBench b(type);
        editConfiguration(b.p);
        b.sendAndTick();

        EXPECT_EQ(b.sentCommands(), expectedFullSend(b.p));
        const RegisterImage& r = b.p.registers;
        EXPECT_EQ(b.unit.registerValue("01"), r.registerText[1]);
        EXPECT_EQ(b.unit.registerValue("02"), r.registerText[2]);
        EXPECT_EQ(b.unit.registerValue("04"), "04");  // filter "16"
        EXPECT_EQ(b.unit.registerValue("3C"), r.scalePairLow);
        EXPECT_EQ(b.unit.registerValue("3D"), r.scalePairHigh);
        EXPECT_EQ(b.unit.registerValue("05"), r.scaleOffset[1]);
        EXPECT_EQ(b.unit.registerValue("06"), r.scaleOffset[2]);
        if (std::string(type.inputType) == "FP") {
            EXPECT_EQ(b.unit.registerValue("0D"), "0C");
            EXPECT_EQ(b.unit.registerValue("0E"), "14");
            EXPECT_EQ(b.p.link.gateRegisterValue, "0C");  // as the unit holds it
        }
        if (std::string(type.inputType) != "ACV" && std::string(type.inputType) != "ACC") {
            EXPECT_EQ(b.unit.registerValue("03"), "02");
        }

        EXPECT_EQ(b.p.link.linkError, 0);
        EXPECT_EQ(b.p.form1.Label3.caption, "  The CONFIGURATION is succesfully transmitted.");
        EXPECT_TRUE(b.p.form1.Label3.visible);
        EXPECT_EQ(b.p.screen.bannerTicks, 3);
        // The live reading goes on after its quiet cycles, in the new output unit.
        EXPECT_TRUE(b.p.form1.Timer1.enabled);
        EXPECT_FALSE(b.p.form1.Timer2.enabled);
        EXPECT_EQ(b.p.live.waitTicks, 1);
        EXPECT_EQ(b.p.form1.Label16.caption, "  Volt");
        EXPECT_EQ(b.p.live.unitOutputFullScale, 10.0);
        EXPECT_EQ(b.p.live.unitOutputUnitText, "  Volt");
        EXPECT_EQ(b.p.link.deferredPolls, 0);
    }
}

TEST(SendConfiguration, UnitSilentAtW3DStopsTheTransferWithTheFailureShown) {
    SendBench b(kTypes[0]);
    b.unit.faults().silentCommands = {"W3D"};
    b.p.config.modeMarker = "NA";  // left from a loaded file
    b.p.live.outputScale = 2.5;    // what the unit works with before the send
    b.p.live.outputOffset = 3.5;
    b.p.live.errorPanelShown = 1;
    b.sendAndTick();
    EXPECT_EQ(b.p.live.errorPanelShown, 0);
    EXPECT_EQ(b.p.config.modeMarker, "");
    EXPECT_EQ(b.p.live.outputScale, 2.5);
    EXPECT_EQ(b.p.live.outputOffset, 3.5);

    const std::vector<std::string> sent = b.sentCommands();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().substr(0, 3), "W3D");
    for (const char* never : {"W05", "W06", "W03", "W08", "Z01"}) {
        for (const auto& command : sent) EXPECT_NE(command.substr(0, 3), never);
    }
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_FALSE(b.p.form1.Label3.visible);
    EXPECT_NE(b.p.form1.Label3.caption, "  The CONFIGURATION is succesfully transmitted.");
    EXPECT_EQ(b.p.screen.bannerTicks, 0);
    EXPECT_FALSE(b.p.link.longTimeoutOnce);
    EXPECT_TRUE(b.p.form1.Picture1.visible);
    ASSERT_GE(b.p.form1.Picture1.lines.size(), 1u);
    EXPECT_EQ(b.p.form1.Picture1.lines[0], "            Communication error !");
    // The next send goes out: the flag this failure left is no failed encoding.
    b.unit.faults().silentCommands.clear();
    b.sendAndTick();
    EXPECT_EQ(b.sentCommands().back(), "Z01");
}

TEST(SendConfiguration, AfterAFailedSendTheLiveOutputFollowsWhatTheUnitConfirmed) {
    struct Case {
        const char* silent;  // the send stops at this command
        double scale;
        double offset;
    };
    const Case cases[] = {{"W02", 1.0, 0.0},
                          {"W3D", 1.0, 0.0},
                          {"W06", 0.08, 0.0},
                          {"W03", 0.08, 2.0},
                          {"Z01", 0.08, 2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.silent);
        SendBench b(kTypes[0]);
        b.p.live.outputScale = 1.0;
        b.p.live.outputOffset = 0.0;
        b.p.config.choice[kGroupMode][3] = 2;  // voltage output
        b.p.config.scalingText = {"", "0", "2", "100", "10"};
        b.unit.faults().silentCommands = {c.silent};
        b.sendAndTick();
        EXPECT_EQ(b.p.link.linkError, 1);
        EXPECT_DOUBLE_EQ(b.p.live.outputScale, c.scale);
        EXPECT_DOUBLE_EQ(b.p.live.outputOffset, c.offset);
        // From a confirmed "W02" on, the output is the voltage output just written.
        const bool volt = std::string(c.silent) != "W02";
        EXPECT_EQ(b.p.live.unitOutputFullScale, volt ? 10.0 : 20.0);
        EXPECT_EQ(b.p.form1.Label16.caption, volt ? "  Volt" : "");
        EXPECT_EQ(b.p.form1.Label13.caption, volt ? b.p.config.readingUnitText : "");
    }
}

TEST(SendConfiguration, AStopAfterW01LeavesTheReadingUnitOfTheRangeSent) {
    struct Case {
        TypeCase type;
        const char* silent;
        int range;
        int ratiometricItem;  // 0: non-ratiometric
        const char* unit;     // "": nothing confirmed, the screen keeps what it showed
        double factor;
    };
    const Case cases[] = {{kTypes[2], "W02", 3, 0, "  Volt  ", 100000},
                          {kTypes[2], "W01", 3, 0, "", 0},
                          {kTypes[3], "W02", 2, 2, " %", 1000},
                          {kTypes[5], "W02", 3, 0, " Amp", 100000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type.inputType) + " silent at " + c.silent);
        SendBench b(c.type);
        b.p.config.choice[kGroupInput][1] = c.range;
        if (c.ratiometricItem != 0) b.p.config.choice[kGroupInput][c.ratiometricItem] = 2;
        b.unit.faults().silentCommands = {c.silent};
        b.sendAndTick();
        EXPECT_EQ(b.p.form1.Label13.caption, c.unit);
        EXPECT_EQ(b.p.live.rangeFactor.value_or(0), c.factor);
        EXPECT_EQ(b.p.form1.Label16.caption, "");  // register 02 was not confirmed
    }
}

TEST(SendConfiguration, PartialSendWritesOnlyTheOptionRegistersAndResolution) {
    for (const TypeCase& type : {kTypes[0], kTypes[4], kTypes[6]}) {
        SCOPED_TRACE(type.inputType);
        SendBench b(type);
        editConfiguration(b.p);
        b.p.transfer.partialSend = 1;
        ASSERT_TRUE(encodeConfiguration(b.p));
        transmitConfiguration(b.p);

        const RegisterImage& r = b.p.registers;
        std::vector<std::string> expected = {"W01" + r.registerText[1], "W02" + r.registerText[2],
                                             "W04" + r.registerText[3]};
        if (std::string(type.inputType) == "FP") {
            expected.push_back("W0D" + r.registerText[5]);
            expected.push_back("W0E" + r.registerText[6]);
        }
        if (std::string(type.inputType) != "ACV") expected.push_back("W03" + r.registerText[7]);
        EXPECT_EQ(b.sentCommands(), expected);
        // The voltage output just sent shows, though a partial send encodes no scaling.
        EXPECT_EQ(b.p.form1.Label16.caption, "  Volt");
        EXPECT_EQ(b.p.link.linkError, 0);
        EXPECT_NE(b.p.form1.Label3.caption, "  The CONFIGURATION is succesfully transmitted.");
        EXPECT_EQ(b.p.screen.bannerTicks, 0);
    }
}

TEST(SendConfiguration, WithoutUnitReportsItAndSendsNothing) {
    SendBench b(kTypes[3]);
    b.p.screen.unitConnected = -1;
    sendConfiguration(b.p);
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_NE(b.p.screen.deferredAction, kActionSend);
    ASSERT_EQ(b.p.form1.Picture1.lines.size(), 6u);
    EXPECT_EQ(b.p.form1.Picture1.lines[5], "   and enter your selection again.");
}

TEST(SendConfiguration, ScalingFaultSendsNothingAndKeepsTheLiveReading) {
    SendBench b(kTypes[0]);
    b.p.config.scalingText = {"", "10", "4", "10.05", "20"};  // inputs closer than 0.1
    sendConfiguration(b.p);
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_NE(b.p.screen.deferredAction, kActionSend);
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_TRUE(b.p.form1.Picture1.visible);  // the encoder's report
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
}

TEST(SendConfiguration, RefreshAfterSendShowsUnitsOfTheSentConfiguration) {
    SendBench pr(kTypes[2]);
    pr.p.config.choice[kGroupInput][3] = 2;  // ratiometric
    pr.p.config.choice[kGroupInput][1] = 4;  // "2 V"
    pr.p.config.choice[kGroupResolution][1] = 3;
    pr.sendAndTick();
    EXPECT_EQ(pr.p.form1.Label13.caption, " %");
    EXPECT_EQ(pr.p.form1.Label16.caption, "  mA");
    ASSERT_TRUE(pr.p.live.rangeFactor.has_value());
    EXPECT_DOUBLE_EQ(*pr.p.live.rangeFactor, 50000);
    EXPECT_EQ(pr.p.live.displayDecimals, 2);
    EXPECT_EQ(pr.p.live.unitOutputFullScale, 20.0);

    SendBench tc(kTypes[0]);
    tc.p.form1.Frame9.visible = false;  // live values not on screen: no quiet cycles asked
    tc.sendAndTick();
    EXPECT_EQ(tc.p.live.waitTicks, 0);
    EXPECT_EQ(tc.p.form1.Label13.caption, tc.p.config.readingUnitText);
    EXPECT_FALSE(tc.p.live.rangeFactor.has_value());
}

TEST(SendConfiguration, FilterChangeFromItsPanelReachesTheUnit) {
    SendBench b(kTypes[0]);
    ScreenEvent filterMenu{"Form1", "FILTER"};
    dispatchEvent(b.p, filterMenu);
    ASSERT_TRUE(b.p.form1.Frame7.visible);
    ScreenEvent pick{"Form1", "List1", 8};
    pick.selected = 4;  // "16"
    b.p.form1.List1[8].selected = 4;
    dispatchEvent(b.p, pick);
    b.dialogs.answers = {Answer::Yes};
    b.p.transfer.partialSend = 1;  // left over: this send is a full one all the same
    ScreenEvent ok{"Form1", "Command12"};
    dispatchEvent(b.p, ok);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.p.form1.Label3.caption, "  SENDING CONFIGURATION ..........");
    EXPECT_TRUE(b.unit.frames().empty());  // nothing goes out before the next tick
    EXPECT_FALSE(b.p.form1.Timer1.enabled);

    ScreenEvent tick{"Form1", "Timer2", -1, EventKind::Tick};
    dispatchEvent(b.p, tick);
    const RegisterImage& r = b.p.registers;
    EXPECT_EQ(r.registerText[3], "04");
    EXPECT_EQ(b.sentCommands(),
              (std::vector<std::string>{"W01" + r.registerText[1], "W02" + r.registerText[2],
                                        "W0404", "W3C" + r.scalePairLow, "W3D" + r.scalePairHigh,
                                        "W05" + r.scaleOffset[1], "W06" + r.scaleOffset[2],
                                        "W03" + r.registerText[7], "W0814", "Z01"}));
    EXPECT_EQ(b.unit.registerValue("04"), "04");
    EXPECT_EQ(b.p.form1.Label3.caption, "  The CONFIGURATION is succesfully transmitted.");
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
    EXPECT_FALSE(b.p.form1.Timer2.enabled);

    // A send started with the panel still open takes the panel's pick.
    dispatchEvent(b.p, filterMenu);
    b.p.form1.List1[8].selected = 5;  // "32"
    b.sendAndTick();
    EXPECT_EQ(b.unit.registerValue("04"), "05");
}

}  // namespace
}  // namespace sigcond
