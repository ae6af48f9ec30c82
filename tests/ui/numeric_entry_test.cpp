#include "ui/numeric_entry.h"

#include <gtest/gtest.h>

#include "program.h"
#include "sim/model/virtual_clock.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"

namespace sigcond {
namespace {

struct EntryBench {
    sim::VirtualClock clock;
    test::ScriptedPort port{clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    EntryBench() {
        p.screen.currentGroup = kGroupScaling;
        for (auto& box : p.form1.Text1) box.width = 1215;
        p.live.normalBoxWidth = 1215;
    }

    // Types the keys into the box as the operator would: accepted keys reach the text.
    std::string type(int box, const std::string& keys) {
        for (const char key : keys) {
            int code = static_cast<unsigned char>(key);
            text1KeyPress(p, box, code);
            if (code == kKeyBackspace && !p.form1.Text1[box].caption.empty()) {
                p.form1.Text1[box].caption.pop_back();
            } else if (code != 0) {
                p.form1.Text1[box].caption += static_cast<char>(code);
            }
        }
        return p.form1.Text1[box].caption;
    }
};

TEST(NumericEntry, EntryLimitsCountEveryCharacter) {
    EntryBench b;
    EXPECT_EQ(b.type(1, "1234567"), "123456");
    b.p.form1.Text1[1].caption.clear();
    EXPECT_EQ(b.type(1, "12.34567"), "12.3456");
    b.p.form1.Text1[1].caption.clear();
    EXPECT_EQ(b.type(1, "1..2"), "1.2");
    b.p.form1.Text1[0].caption.clear();
    EXPECT_EQ(b.type(0, "-12345x6"), "-12345");  // the sign counts towards the six
    EXPECT_EQ(b.type(0, "\b\b9"), "-1239");      // backspace always passes
    EXPECT_EQ(b.dialogs.beeps, 1);               // only the letter beeped
}

TEST(NumericEntry, MinusOnlyFirstInAnInputBoxAndNeverForFrequency) {
    EntryBench b;
    EXPECT_EQ(b.type(1, "-5"), "5");
    EXPECT_EQ(b.type(3, "-5"), "5");
    EXPECT_EQ(b.type(0, "-5"), "-5");
    EXPECT_EQ(b.type(2, "5-"), "5");
    EXPECT_EQ(b.dialogs.beeps, 0);  // refused silently
    b.p.config.inputType = "FP";
    b.p.form1.Text1[0].caption.clear();
    EXPECT_EQ(b.type(0, "-5"), "5");
}

TEST(NumericEntry, CountingInputsTakeEightDigitsAndNoPoint) {
    EntryBench b;
    b.p.config.inputType = "FP";
    b.p.config.choice[kGroupMode][1] = 4;  // Totalize
    b.p.form1.Text1[0].width = 1337;
    b.p.form1.Text1[2].width = 1337;
    EXPECT_EQ(b.type(0, "123.456789"), "12345678");
    EXPECT_EQ(b.type(2, "1.5"), "15");
    EXPECT_EQ(b.type(1, "1234567"), "123456");  // the outputs keep their limit
    EXPECT_EQ(b.type(3, "1.5"), "1.5");
    // In frequency mode the inputs take points again.
    b.p.config.choice[kGroupMode][1] = 1;
    b.p.form1.Text1[2].caption.clear();
    EXPECT_EQ(b.type(2, "1.5"), "1.5");
}

TEST(NumericEntry, FocusEmptiesTheBoxAndCommitsTheOthers) {
    EntryBench b;
    b.p.form1.Text1[0].caption = "5";
    b.p.form1.Text1[1].caption = "4";
    b.p.form1.Text1[3].caption = "";
    text1GotFocus(b.p, 2);
    EXPECT_EQ(b.p.form1.Text1[2].caption, "");
    EXPECT_EQ(b.p.form1.Text1[2].foreColour, 0xFF0000);
    EXPECT_EQ(b.p.form1.Text1[3].caption, "000000");
    EXPECT_EQ(b.p.config.scalingText[4], "000000");
    EXPECT_EQ(b.p.config.scalingText[1], "5");
    EXPECT_EQ(b.p.live.entryBox, 2);
    EXPECT_EQ(b.p.screen.changePending, 1);

    // During live scaling the input boxes are not typed into: the focus moves on.
    b.p.live.liveStep = 2;
    b.p.form1.Text1[0].caption = "  12.0";
    text1GotFocus(b.p, 0);
    EXPECT_EQ(b.p.form1.focus, "Text1(3)");
    EXPECT_EQ(b.p.form1.Text1[0].caption, "  12.0");
}

}  // namespace
}  // namespace sigcond
