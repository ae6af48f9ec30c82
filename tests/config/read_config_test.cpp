#include "config/read_config.h"

#include <gtest/gtest.h>

#include "ui/main_screen_ops.h"
#include "ui/ui_bench.h"

namespace sigcond::test {
namespace {

// A loaded main screen for a connected unit of the given type, before the read.
struct ReadBench : UiBench {
    explicit ReadBench(sim::UnitType type) {
        unit.setType(type);
        unit.resetRegisters();
        toQuestion();
        send("Form3", "Command3", EventKind::Click, 0);
        send("Form5", "Command3", EventKind::Click, 0);
    }
};

TEST(ReadConfiguration, ThermocoupleUnitIsReadInOrderIntoTheImage) {
    ReadBench b(sim::UnitType::TC);
    ASSERT_TRUE(b.unit.setRegister("3C", "0123456789AB"));
    ASSERT_TRUE(b.unit.setRegister("3D", "BA9876543210"));
    ASSERT_TRUE(b.unit.setRegister("05", "00D870"));
    ASSERT_TRUE(b.unit.setRegister("02", "82"));  // the output in volts, Kelvin
    b.p.screen.uncommittedGroup = 2;
    readConfiguration(b.p);
    const std::vector<std::string> expected = {"U01", "R01", "R02", "R04", "R3C",
                                               "R3D", "R05", "R06", "R03"};
    EXPECT_EQ(b.commands(), expected);
    EXPECT_EQ(b.p.registers.registerText[4],
              "BA9876543210"
              "0123456789AB");
    EXPECT_EQ(b.p.registers.scaleRegisterText[1], "00D870");
    EXPECT_EQ(b.p.transfer.unitIdentified, 1);
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_FALSE(b.p.link.identifyMode || b.p.link.readingConfiguration);
    EXPECT_TRUE(b.p.form1.CNF.enabled);
    EXPECT_FALSE(b.p.form1.GATE.visible);
    EXPECT_FALSE(b.p.form1.Label3.visible);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_EQ(b.p.screen.lastOutputMode, 3);  // item 1 of the mode group: Kelvin
    EXPECT_EQ(b.p.form1.Label13.caption, b.p.config.readingUnitText);
    EXPECT_EQ(b.p.live.unitOutputUnitText, "  Volt");
    EXPECT_EQ(b.p.live.unitOutputFullScale, 10.0);
    EXPECT_EQ(b.p.form1.Label16.caption, "  Volt");
}

TEST(ReadConfiguration, PortThatCannotBeOpenedEndsWithTheSearchError) {
    ReadBench b(sim::UnitType::TC);
    b.port.close();
    b.port.setOpenFails(true);
    readConfiguration(b.p);
    EXPECT_EQ(b.p.link.linkError, 1);
    EXPECT_TRUE(b.p.form1.Command5.visible);
}

TEST(ReadConfiguration, RatiometricProcessInputReadsInPercent) {
    ReadBench b(sim::UnitType::PR);
    ASSERT_TRUE(b.unit.setRegister("01", "20"));  // ratiometric, 20 mA range
    readConfiguration(b.p);
    EXPECT_EQ(b.p.config.inputType, "PR");
    EXPECT_EQ(b.p.config.choice[1][3], 2);
    EXPECT_EQ(b.p.form1.Label13.caption, " %");

    // A strain gauge is ratiometric by its second input item; other types never by that item.
    b.p.config.inputType = "ST";
    b.p.config.choice[1][2] = 1;
    EXPECT_FALSE(ratiometricInput(b.p));
    b.p.config.choice[1][2] = 2;
    EXPECT_TRUE(ratiometricInput(b.p));
    b.p.config.inputType = "TC";
    EXPECT_FALSE(ratiometricInput(b.p));
}

TEST(ReadConfiguration, ReadFailureKeepsWhatWasReadAndReportsOnce) {
    ReadBench b(sim::UnitType::FP);
    b.unit.faults().silentCommands = {"R0E"};
    b.p.config.groupTouched[2] = 1;
    b.p.transfer.readSucceeded = 1;  // from an earlier read
    b.p.form1.Picture2.visible = true;
    b.p.form1.Picture2.lines = {"left from live work"};
    readConfiguration(b.p);
    EXPECT_EQ(b.commands().back(), "R0E");
    // The reading-error panel is put back to its own lines, hidden.
    EXPECT_FALSE(b.p.form1.Picture2.visible);
    EXPECT_NE(b.p.form1.Picture2.lines.at(0), "left from live work");
    EXPECT_EQ(b.p.link.gateRegisterValue, b.unit.registerValue("0D").value());
    EXPECT_EQ(b.p.registers.registerText[6], "FB");  // catalogue default kept
    EXPECT_EQ(b.p.transfer.readSucceeded, 0);
    EXPECT_EQ(b.p.link.linkError, 0);
    EXPECT_EQ(b.dialogs.beeps, 1);
    EXPECT_FALSE(b.p.form1.CNF.enabled);
    EXPECT_TRUE(b.p.form1.Command5.visible);
    EXPECT_EQ(b.p.config.groupTouched[2], 0);
    EXPECT_FALSE(b.p.form1.Label3.visible);
}

TEST(ReadConfiguration, DemoWorkBuildsTheCatalogueOnly) {
    UiBench b;
    b.p.config.inputType = "ACV";
    b.p.screen.unitConnected = -1;
    b.p.config.choice[1][1] = 3;
    b.p.link.linkError = 1;  // left from earlier work
    b.p.live.readingErrorShown = 1;
    b.p.transfer.unitIdentified = 1;
    readConfiguration(b.p);
    EXPECT_FALSE(b.p.form1.Command5.visible);
    EXPECT_EQ(b.p.live.readingErrorShown, 0);
    EXPECT_FALSE(b.port.isOpen());
    EXPECT_TRUE(b.unit.frames().empty());
    EXPECT_EQ(b.p.config.choice[1][1], 1);
    EXPECT_EQ(b.p.transfer.readSucceeded, 1);
    EXPECT_EQ(b.p.transfer.unitIdentified, 0);
    EXPECT_FALSE(b.p.form1.RESOL.visible);
    EXPECT_EQ(b.p.form1.Label16.caption, "  mA");
    ASSERT_TRUE(b.p.live.rangeFactor.has_value());
}

}  // namespace
}  // namespace sigcond::test
