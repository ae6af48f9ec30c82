#include <gtest/gtest.h>

#include "config/option_catalogue.h"
#include "ui/main_screen_ops.h"
#include "ui_bench.h"

namespace sigcond::test {
namespace {

// A main screen in demo work for the type, with its configuration prepared.
struct Demo : UiBench {
    explicit Demo(const std::string& type) {
        demoWith(demoLineOf(type));
        runStartUp();
    }
};

// A main screen connected to a simulated unit of the type, read and live.
struct Connected : UiBench {
    explicit Connected(sim::UnitType type) {
        unit.setType(type);
        unit.resetRegisters();
        connectOn(1);
        runStartUp();
        unit.clearFrames();
    }
};

const Control& listOf(const Program& p, int g, int i) {
    return p.form1.List1[p.config.catalogue.listSlot[g][i] - 1];
}
const Control& labelOf(const Program& p, int g, int i) {
    return p.form1.Label1[p.config.catalogue.listSlot[g][i] - 1];
}

const char* menuOf(int group) {
    switch (group) {
        case 1: return "INPF";
        case 2: return "IOCF";
        case 3: return "FILTER";
        default: return "RESOL";
    }
}

TEST(OptionPanels, EveryTypeShowsItsCatalogueInTheRightLists) {
    for (const char* type : {"TC", "RTD", "PR", "ST", "ACV", "ACC", "FP"}) {
        Demo b(type);
        const bool resolution = b.p.form1.RESOL.visible;
        for (int g : {1, 2, 3, 7}) {
            if (g == 7 && !resolution) continue;
            b.send("Form1", menuOf(g));
            const Program& p = b.p;
            const OptionCatalogue& cat = p.config.catalogue;
            const bool single = g == 3 || g == 7;
            SCOPED_TRACE(std::string(type) + " group " + std::to_string(g));
            EXPECT_EQ(p.screen.uncommittedGroup, g);
            EXPECT_EQ(p.form1.Frame4.visible, !single);
            EXPECT_EQ(p.form1.Frame7.visible, single);
            if (!single) {
                EXPECT_EQ(p.form1.Frame4.caption, cat.groupTitle[g]);
                EXPECT_EQ(p.form1.Frame4.width, cat.frame[g].width);
                EXPECT_EQ(p.form1.Frame4.height, cat.frame[g].height);
                EXPECT_EQ(p.form1.Frame4.left, cat.frame[g].left);
            }
            int shown = 0;
            for (const Control& list : p.form1.List1) shown += list.visible ? 1 : 0;
            EXPECT_EQ(shown, cat.itemCount[g]);
            for (int i = 1; i <= cat.itemCount[g]; ++i) {
                const Control& list = listOf(p, g, i);
                const int count = cat.choiceCount[g][i];
                ASSERT_EQ(static_cast<int>(list.lines.size()), count);
                for (int k = 1; k <= count; ++k) {
                    EXPECT_EQ(list.lines[k - 1], displayedOptionCaption(p, g, i, k));
                }
                const int lineHeight = single ? 310 : 210;
                const int charWidth = single ? 150 : 115;
                EXPECT_EQ(list.height, count == 2 ? 600 : count * lineHeight);
                EXPECT_EQ(list.width, static_cast<int>(list.lines.back().size()) * charWidth);
                EXPECT_EQ(list.selected, p.config.choice[g][i] - 1);
                EXPECT_TRUE(list.visible);
                EXPECT_TRUE(labelOf(p, g, i).visible);
                EXPECT_EQ(labelOf(p, g, i).caption.substr(0, cat.itemCaption[g][i].size()),
                          cat.itemCaption[g][i]);
            }
        }
    }
}

TEST(OptionPanels, SpotChecksOfListContents) {
    // The labels show the item captions and nothing more (the captions themselves, and the
    // filter's eight offered options of nine, are among the catalogue's known answers).
    Demo tc("TC");
    const OptionCatalogue& cat = tc.p.config.catalogue;
    tc.send("Form1", "INPF");
    EXPECT_EQ(tc.p.form1.Label1[0].caption, cat.itemCaption[1][1]);
    tc.send("Form1", "FILTER");
    EXPECT_EQ(tc.p.form1.Label1[8].caption, cat.itemCaption[3][1]);
    EXPECT_FALSE(tc.p.form1.Frame4.visible);  // one panel at a time

    Demo fp("FP");
    fp.p.config.choice[2][1] = 2;  // Quadrature: counts, no resolution choice
    fp.p.config.choice[7][1] = 4;
    fp.send("Form1", "RESOL");
    EXPECT_EQ(fp.p.form1.List1[8].selected, 0);
    EXPECT_FALSE(fp.p.form1.List1[8].enabled);
}

TEST(OptionPanels, RtdCopperResistanceDisablesTypeAndStandard) {
    Demo b("RTD");
    b.send("Form1", "INPF");
    const Program& p = b.p;
    for (int i : {2, 3}) {
        EXPECT_FALSE(listOf(p, 1, i).enabled) << i;
        const Control& label = labelOf(p, 1, i);
        EXPECT_EQ(label.caption, p.config.catalogue.itemCaption[1][i] + "\r( NOT FOR 10 OHM )");
        EXPECT_EQ(label.width, 18 * 110);
    }
    EXPECT_TRUE(listOf(p, 1, 4).enabled);

    const int resistance = p.config.catalogue.listSlot[1][1] - 1;
    b.send("Form1", "List1", EventKind::Click, resistance, 1);  // 100 Ohm
    EXPECT_TRUE(listOf(p, 1, 2).enabled);
    EXPECT_TRUE(listOf(p, 1, 3).enabled);
    EXPECT_EQ(p.config.groupTouched[1], 1);
    // A disabled list takes no pick.
    b.send("Form1", "List1", EventKind::Click, resistance, 0);
    const int standard = p.config.catalogue.listSlot[1][3] - 1;
    b.send("Form1", "List1", EventKind::Click, standard, 1);
    EXPECT_EQ(listOf(p, 1, 3).selected, 0);
}

TEST(OptionPanels, CancelRestoresAndOkCommitsThenAsksToSend) {
    Connected b(sim::UnitType::TC);
    b.p.config.choice[3][1] = 2;
    b.send("Form1", "FILTER");
    EXPECT_EQ(b.p.form1.List1[8].selected, 1);
    b.send("Form1", "List1", EventKind::Click, 8, 4);
    b.send("Form1", "Command11");  // Cancel
    EXPECT_FALSE(b.p.form1.Frame7.visible);
    EXPECT_EQ(b.p.form1.List1[8].selected, 1);
    EXPECT_EQ(b.p.config.choice[3][1], 2);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 3);  // a later commit changes nothing
    b.send("Form1", "FILES");
    EXPECT_EQ(b.p.config.choice[3][1], 2);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_TRUE(b.dialogs.messages.empty());

    b.send("Form1", "FILTER");
    b.send("Form1", "List1", EventKind::Click, 8, 4);
    b.dialogs.answers = {Answer::No};
    b.send("Form1", "Command12");  // OK
    EXPECT_EQ(b.p.config.choice[3][1], 5);
    EXPECT_EQ(b.p.screen.changePending, 1);
    ASSERT_EQ(b.dialogs.messages.size(), 1u);
    EXPECT_EQ(b.dialogs.messages[0].text,
              "Do you want to send configuration to the unit now  ?\r(You can send later)");
    EXPECT_EQ(b.dialogs.messages[0].icon, Icon::Question);
    EXPECT_EQ(b.dialogs.messages[0].title, " ");
    EXPECT_TRUE(b.unit.frames().empty());

    // OK without a change asks nothing.
    b.send("Form1", "FILTER");
    b.send("Form1", "Command12");
    EXPECT_EQ(b.dialogs.messages.size(), 1u);

    // Yes schedules the send behind its banner.
    b.p.config.scalingText = {"", "0", "4", "100", "20"};
    b.send("Form1", "IOCF");
    b.send("Form1", "List1", EventKind::Click, 0, 1);  // Fahrenheit
    b.dialogs.answers = {Answer::Yes};
    b.send("Form1", "Command9");
    EXPECT_EQ(b.p.config.choice[2][1], 2);
    EXPECT_EQ(b.dialogs.messages.size(), 2u);
    EXPECT_EQ(b.p.screen.deferredAction, 1);
    EXPECT_TRUE(b.p.form1.Timer2.enabled);
    EXPECT_TRUE(b.unit.frames().empty());
    b.tick("Form1", "Timer2");  // the transmission runs on the next tick
    ASSERT_FALSE(b.unit.frames().empty());
    EXPECT_EQ(b.unit.frames().front().frame.substr(0, 3), "W01");
    EXPECT_EQ(b.unit.frames().back().frame, "Z01");
    EXPECT_FALSE(b.p.form1.Timer2.enabled);
    EXPECT_TRUE(b.p.form1.Timer1.enabled);
}

TEST(OptionPanels, DemoOkOnlyReturnsAndTheNextMenuActionCommits) {
    Demo b("TC");
    b.send("Form1", "INPF");
    b.send("Form1", "List1", EventKind::Click, 0, 2);
    b.send("Form1", "Command9");
    EXPECT_FALSE(b.p.form1.Frame4.visible);
    EXPECT_EQ(b.p.config.choice[1][1], 1);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 1);
    b.send("Form1", "FILTER");  // the builder commits the pending panel first
    EXPECT_EQ(b.p.config.choice[1][1], 3);
    EXPECT_TRUE(b.dialogs.messages.empty());
}

TEST(OptionPanels, CommitRulesForVoltageOutputAndFrequencyModes) {
    Demo tc("ACV");  // the output mode is the first item of its group
    // A current output keeps a desired output above 10; a voltage output makes at most 10,
    // and 10 itself stands as it is.
    tc.p.config.scalingText[2] = "10";
    tc.p.config.scalingText[4] = "15";
    tc.send("Form1", "IOCF");
    tc.send("Form1", "FILES");
    EXPECT_EQ(tc.p.config.scalingText[4], "15");
    tc.send("Form1", "IOCF");
    const int output = tc.p.config.catalogue.listSlot[2][1] - 1;
    tc.send("Form1", "List1", EventKind::Click, output, 1);  // Volt
    tc.send("Form1", "CNF");
    tc.send("Form1", "FILES");
    EXPECT_EQ(tc.p.config.choice[2][1], 2);
    EXPECT_EQ(tc.p.config.scalingText[2], "10");
    EXPECT_EQ(tc.p.config.scalingText[4], "10.0000");

    Demo fp("FP");
    fp.p.config.choice[7][1] = 3;
    fp.send("Form1", "IOCF");
    fp.send("Form1", "List1", EventKind::Click, 0, 3);  // Totalize
    fp.send("Form1", "FILES");
    EXPECT_EQ(fp.p.config.choice[2][1], 4);
    EXPECT_EQ(fp.p.config.choice[7][1], 1);
    EXPECT_EQ(fp.p.config.scalingText[1], "000000");
    EXPECT_EQ(fp.p.config.scalingText[3], "100000");
    EXPECT_EQ(fp.p.screen.lastOutputMode, 4);
    // Between two counting modes the inputs stay as they are.
    fp.p.config.scalingText[3] = "500";
    fp.send("Form1", "IOCF");
    fp.send("Form1", "List1", EventKind::Click, 0, 1);  // Quadrature
    fp.send("Form1", "FILES");
    EXPECT_EQ(fp.p.config.scalingText[3], "500");
    fp.send("Form1", "IOCF");
    fp.send("Form1", "List1", EventKind::Click, 0, 0);  // back to Frequency
    fp.send("Form1", "FILES");
    EXPECT_EQ(fp.p.config.scalingText[3], "20000");
}

TEST(OptionPanels, ProcessInputOkNarrowsTheResolution) {
    Connected b(sim::UnitType::PR);
    b.p.config.choice[7][1] = 6;
    b.send("Form1", "INPF");
    const int range = b.p.config.catalogue.listSlot[1][1] - 1;
    const int ratiometric = b.p.config.catalogue.listSlot[1][3] - 1;
    b.send("Form1", "List1", EventKind::Click, range, 5);        // 10 V
    b.send("Form1", "List1", EventKind::Click, ratiometric, 1);  // Ratiometric
    b.dialogs.answers = {Answer::No};
    b.send("Form1", "Command9");
    EXPECT_EQ(b.p.config.choice[1][3], 2);
    EXPECT_EQ(b.p.config.choice[7][1], 4);
    EXPECT_EQ(b.p.form1.LABEL18[1].caption, "10.000  Volt");  // the main screen's Resolution line
    EXPECT_EQ(b.p.screen.currentGroup, 1);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_EQ(b.dialogs.messages.size(), 1u);
}

TEST(OptionPanels, ACommitNeverTakesAnEmptySelection) {
    Demo b("TC");
    b.send("Form1", "FILTER");
    b.p.form1.List1[8].selected = -1;
    b.send("Form1", "FILES");
    EXPECT_EQ(b.p.config.choice[3][1], 1);
    EXPECT_EQ(b.p.screen.changePending, 0);
}

}  // namespace
}  // namespace sigcond::test
