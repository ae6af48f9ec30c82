#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config/option_catalogue.h"
#include "config/send_config.h"
#include "program.h"
#include "sim/model/simulated_port.h"
#include "support/scripted_dialogs.h"
#include "ui/events.h"
#include "ui/main_screen_ops.h"

namespace sigcond {
namespace {

// The main screen of a prepared configuration of one type (demo work: the summary needs no
// unit).
struct SummaryBench {
    sim::VirtualClock clock;
    sim::UnitModel unit;
    sim::SimulatedPort port{unit, clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    explicit SummaryBench(const char* inputType) {
        p.config.inputType = inputType;
        buildOptionCatalogue(p);
        initMainScreen(p);
        p.form1.loaded = true;
    }
    const SendSummaryControls& s() const { return p.form1.sendSummary; }
};

TEST(SendSummary, RtdCopperSensorShowsNotApplicableForTypeAndStandard) {
    SummaryBench b("RTD");
    b.p.config.choice[kGroupInput][1] = 1;  // "10 Ohm (copper only)"
    b.p.config.choice[kGroupInput][2] = 2;  // a nickel pick left over from before
    b.p.config.choice[kGroupInput][4] = 3;
    showSendSummary(b.p);

    const OptionCatalogue& cat = b.p.config.catalogue;
    EXPECT_TRUE(b.p.form1.Frame5.visible);
    EXPECT_EQ(b.p.form1.Frame5.caption, "Configuration");
    EXPECT_EQ(b.p.form1.Command14.caption, "&Send");
    EXPECT_EQ(b.p.form1.Command13.caption, "&Cancel");
    EXPECT_EQ(b.s().heading[0].caption, "Input range or configuration : ");
    EXPECT_EQ(b.s().heading[1].caption, "Input/output mode selection : ");

    const auto& items = b.s().items[0].lines;
    const auto& choices = b.s().choices[0].lines;
    ASSERT_EQ(items.size(), 5u);
    ASSERT_EQ(choices.size(), 5u);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(items[i - 1], cat.itemCaption[1][i]);
    EXPECT_EQ(choices[0], cat.optionCaption[1][1][1]);
    EXPECT_EQ(choices[1], "  N/A");
    EXPECT_EQ(choices[2], "  N/A");
    EXPECT_EQ(choices[3], cat.optionCaption[1][4][3]);
    EXPECT_EQ(b.s().choices[1].lines.size(), 2u);  // unit of temperature, output mode
    // Sized to the group's items.
    EXPECT_EQ(b.s().items[0].height, 5 * b.s().items[1].height / 2);

    // Any other resistance shows the picks.
    b.p.config.choice[kGroupInput][1] = 2;
    b.p.config.scalingText = {"", "00.0000", "1", "10.0000", "3"};
    showSendSummary(b.p);
    EXPECT_EQ(b.s().choices[0].lines[1], cat.optionCaption[1][2][2]);
    EXPECT_EQ(b.s().resolution[1].caption, " 1");

    // Temperatures in the chosen unit, outputs in the output unit.
    EXPECT_EQ(b.s().scalingValue[0].caption, "00.0000");
    EXPECT_EQ(b.s().scalingUnit[0].caption,
              "  \xB0"
              "C ");
    EXPECT_EQ(b.s().scalingUnit[1].caption, "  mA");
    EXPECT_EQ(b.s().scalingValue[1].caption, "1");
    EXPECT_EQ(b.s().scalingValue[2].caption, "10.0000");
    EXPECT_EQ(b.s().scalingValue[3].caption, "3");
    EXPECT_FALSE(b.s().gate[1].visible);
    // Every control of the summary is handed to the window that draws it.
    std::vector<ControlView> views;
    appendSendSummaryViews(b.p.form1.sendSummary, views);
    EXPECT_EQ(views.size(), 27u);
}

TEST(SendSummary, AcVoltHasNoResolutionAndShowsTheFilterValue) {
    SummaryBench b("ACV");
    b.p.config.choice[kGroupFilter][1] = 8;  // "128"
    b.p.config.choice[kGroupMode][1] = 2;    // voltage output
    showSendSummary(b.p);
    EXPECT_EQ(b.s().resolution[1].caption, "");
    EXPECT_FALSE(b.s().resolution[0].visible);
    EXPECT_EQ(b.s().filter[1].caption, "128");
    // The main screen's own summary line follows the changed filter too.
    EXPECT_EQ(b.p.form1.LABEL17[1].caption, "128");
    EXPECT_EQ(b.s().scalingUnit[0].caption, b.p.config.readingUnitText);
    EXPECT_EQ(b.s().scalingUnit[3].caption, "  Volt");
    EXPECT_FALSE(b.s().debounce[1].visible);

    SummaryBench none("TC");
    showSendSummary(none.p);
    EXPECT_EQ(none.s().filter[1].caption, "0");  // "No filtering"
}

TEST(SendSummary, ResolutionTextPerType) {
    SummaryBench pr("PR");
    pr.p.config.choice[kGroupInput][1] = 1;  // "20 mA"
    pr.p.config.choice[kGroupResolution][1] = 3;
    showSendSummary(pr.p);
    EXPECT_EQ(pr.s().resolution[1].caption, "20.00");
    EXPECT_TRUE(pr.s().resolution[0].visible && pr.s().filter[0].visible);
    EXPECT_EQ(pr.s().scalingUnit[0].caption, "  mA  ");  // not ratiometric: not in percent

    SummaryBench st("ST");
    st.p.config.choice[kGroupInput][2] = 2;  // ratiometric: inputs in percent
    showSendSummary(st.p);
    EXPECT_EQ(st.s().scalingUnit[0].caption, " %");
    EXPECT_EQ(st.s().scalingUnit[2].caption, " %");
    EXPECT_EQ(st.s().resolution[1].caption, "30.");

    SummaryBench fp("FP");
    fp.p.config.choice[kGroupMode][1] = 3;  // "A - B" counts
    showSendSummary(fp.p);
    EXPECT_EQ(fp.s().resolution[1].caption, "50000. Counts");
    fp.p.config.choice[kGroupMode][1] = 1;  // frequency
    showSendSummary(fp.p);
    EXPECT_EQ(fp.s().resolution[1].caption, "50000.  Hz  ");
}

TEST(SendSummary, FrequencyUnitShowsDebounceAndGateTimesInMilliseconds) {
    SummaryBench b("FP");
    showSendSummary(b.p);  // defaults: debounce "001", gate "000"
    EXPECT_TRUE(b.s().debounce[1].visible);
    EXPECT_EQ(b.s().debounce[1].caption, "5 ms");
    EXPECT_EQ(b.s().gate[1].caption, "3 ms");  // a gate count of 0 gates for 3 ms

    b.p.config.debounceTimeText = " 12 ";
    b.p.config.gateTimeText = "240";
    showSendSummary(b.p);
    EXPECT_EQ(b.s().debounce[1].caption, "60 ms");
    EXPECT_EQ(b.s().gate[1].caption, "2400 ms");
    EXPECT_EQ(b.s().scalingUnit[0].caption, "  Hz  ");
}

// The summary sets every one of its controls itself, whatever state the screen was left in.
TEST(SendSummary, IsDrawnWholeOverAScreenLeftInAnyState) {
    SummaryBench fresh("FP"), spoiled("FP");
    std::vector<ControlView> a, b;
    for (auto [bench, views] : {std::pair{&fresh, &a}, std::pair{&spoiled, &b}}) {
        MainScreen& f = bench->p.form1;
        appendSendSummaryViews(f.sendSummary, *views);
        for (Control* c : {&f.Frame5, &f.Picture4, &f.Command13, &f.Command14})
            views->push_back({"Form1", -1, ControlKind::Label, c, ""});
    }
    for (ControlView& v : b) {
        Control& c = *v.control;
        c.caption.clear();
        c.visible = false;
        c.left = c.top = c.width = c.height = 0;
    }
    MainScreen& f = spoiled.p.form1;
    f.Command13.enabled = f.Command14.enabled = false;
    f.Picture4.lines = {"stale"};
    showSendSummary(fresh.p);
    showSendSummary(spoiled.p);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t n = 0; n < a.size(); ++n) {
        const Control& x = *a[n].control;
        const Control& y = *b[n].control;
        EXPECT_EQ(std::tie(x.caption, x.visible, x.enabled, x.left, x.top, x.width, x.height,
                           x.lines),
                  std::tie(y.caption, y.visible, y.enabled, y.left, y.top, y.width, y.height,
                           y.lines))
            << a[n].name << a[n].index;
    }
    EXPECT_TRUE(f.Command13.enabled && f.Command14.enabled);
    // The summary's layout in twips: frame, picture, the two groups, the scaling rows.
    const auto at = [](const Control& c) { return std::vector{c.left, c.top, c.width, c.height}; };
    EXPECT_EQ(at(f.Frame5), (std::vector{600, 2760, 10800, 4080}));
    EXPECT_EQ(at(f.Picture4), (std::vector{240, 300, 10320, 3120}));
    const SendSummaryControls& s = f.sendSummary;
    EXPECT_EQ(at(s.heading[1]), (std::vector{5160, 60, 4920, 255}));
    EXPECT_EQ(at(s.choices[0]).at(2), 2280);
    EXPECT_EQ(at(s.scalingHeading).at(1), 1680);
    EXPECT_EQ(at(s.scalingCaption[0]), (std::vector{120, 1935, 1920, 255}));
    EXPECT_EQ(at(s.scalingUnit[1]), (std::vector{3360, 2190, 1200, 255}));
    std::string captions = s.scalingHeading.caption + "|" + s.filter[0].caption;
    for (const Control& c : s.scalingCaption) captions += "|" + c.caption;
    EXPECT_EQ(captions, "Analog output scaling :  |Filter time constant :|Input 1|"
                        "Desired output 1|Input 2|Desired output 2");
}

TEST(SendSummary, OpensFromTheMenuCommittingThePanelAndCancelHidesIt) {
    SummaryBench b("TC");
    b.p.screen.currentGroup = kGroupFilter;
    buildGroupPanel(b.p);
    b.p.form1.List1[8].selected = 4;  // "16", not yet committed

    ScreenEvent vw{"Form1", "VW"};
    dispatchEvent(b.p, vw);
    EXPECT_EQ(b.p.config.choice[kGroupFilter][1], 5);
    EXPECT_EQ(b.p.screen.uncommittedGroup, 0);
    EXPECT_FALSE(b.p.form1.Frame7.visible);
    EXPECT_EQ(b.s().filter[1].caption, "16");
    // Everything of the summary is shown: the frame with its picture and buttons, both option
    // groups, the scaling heading and its four rows.
    const MainScreen& f = b.p.form1;
    EXPECT_TRUE(f.Frame5.visible && f.Picture4.visible && f.Command14.visible &&
                f.Command13.visible && f.Frame5.width > 0);
    EXPECT_EQ(f.Command14.caption + f.Command13.caption, "&Send&Cancel");
    for (int n = 0; n < 2; ++n) {
        EXPECT_TRUE(b.s().heading[n].visible && b.s().items[n].visible &&
                    b.s().choices[n].visible) << n;
    }
    EXPECT_TRUE(b.s().scalingHeading.visible);
    const std::size_t items = b.s().items[0].lines.size();
    dispatchEvent(b.p, vw);  // shown again: the same lines, not twice
    EXPECT_EQ(b.s().items[0].lines.size(), items);
    for (int n = 0; n < 4; ++n) {
        EXPECT_TRUE(b.s().scalingCaption[n].visible && b.s().scalingValue[n].visible &&
                    b.s().scalingUnit[n].visible) << n;
    }

    ScreenEvent cancel{"Form1", "Command13"};
    dispatchEvent(b.p, cancel);
    EXPECT_FALSE(b.p.form1.Frame5.visible);
    EXPECT_TRUE(b.unit.frames().empty());
}

}  // namespace
}  // namespace sigcond
