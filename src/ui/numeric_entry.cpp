#include "ui/numeric_entry.h"

#include "program.h"

namespace sigcond {

namespace {

constexpr int kScalingGroup = 4;  // the analog output scaling panel
constexpr int kBlack = 0x000000;

// The configuration record's scaling texts (index 1..4) take the copies saved when the panel
// was opened.
template <class Record>
void restoreScalingTexts(Record& record, const LiveState& live) {
    if constexpr (requires { record.scalingText[1] = live.savedScalingText[1]; }) {
        for (int i = 1; i <= 4; ++i) record.scalingText[i] = live.savedScalingText[i];
    }
}

// Every list of the open option panel shows the option recorded for its item again.
template <class Record>
void restoreRecordedSelections(const Record& record, int group, MainScreen& f) {
    if constexpr (requires {
                      record.itemCount[group];
                      record.listSlot[group][1];
                      record.choice[group][1];
                  }) {
        if (group < 1 || group >= static_cast<int>(std::size(record.itemCount))) return;
        for (int i = 1; i <= record.itemCount[group]; ++i) {
            const int list = record.listSlot[group][i] - 1;
            if (list < 0 || list >= static_cast<int>(f.List1.size())) continue;
            f.List1[list].selected = record.choice[group][i] - 1;
        }
    }
}

}  // namespace

void abandonEntry(Program& p) {
    MainScreen& f = p.form1;
    if (!f.Text1[1].enabled) {
        f.Command4.enabled = true;
        f.Text1[1].enabled = true;
        f.Text1[3].enabled = true;
    }
    if (p.screen.currentGroup == kScalingGroup) {
        restoreScalingTexts(p.config, p.live);
        for (int i = 1; i <= 4; ++i) {
            f.Text1[i - 1].caption = p.live.savedScalingText[i];
            f.Text1[i - 1].foreColour = kBlack;
        }
    } else {
        restoreRecordedSelections(p.config, p.screen.currentGroup, f);
    }
    p.live.liveStep = 0;
    f.focus = "Command3";
    f.Command7.enabled = true;
}

}  // namespace sigcond
