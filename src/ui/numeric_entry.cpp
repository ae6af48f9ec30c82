#include "ui/numeric_entry.h"

#include <algorithm>

#include "program.h"

namespace sigcond {

namespace {

constexpr int kBlack = 0x000000;

// Every list of the open option panel shows the option recorded for its item again.
void restoreRecordedSelections(Program& p, int group) {
    if (group < 1 || group > kGroupCount) return;
    const OptionCatalogue& catalogue = p.config.catalogue;
    const int items = std::min(catalogue.itemCount[group], kMaxItems);
    for (int i = 1; i <= items; ++i) {
        const int list = catalogue.listSlot[group][i] - 1;
        if (list < 0 || list >= static_cast<int>(p.form1.List1.size())) continue;
        p.form1.List1[list].selected = p.config.choice[group][i] - 1;
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
    if (p.screen.currentGroup == kGroupScaling) {
        for (int i = 1; i <= 4; ++i) {
            p.config.scalingText[i] = p.live.savedScalingText[i];
            f.Text1[i - 1].caption = p.live.savedScalingText[i];
            f.Text1[i - 1].foreColour = kBlack;
        }
    } else {
        restoreRecordedSelections(p, p.screen.currentGroup);
    }
    p.live.liveStep = 0;
    p.live.capturedInput = {};  // captured in the live scaling that ends here
    f.focus = "Command3";
    f.Command7.enabled = true;
}

}  // namespace sigcond
