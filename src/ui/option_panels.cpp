// The option panels of the main screen: Frame4 (several lists, groups 1 and 2) and Frame7 (one
// list, groups 3 and 7), built from the option catalogue, committed into the configuration
// record, and the return to the summary view.
#include <string>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/send_config.h"
#include "program.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"
#include "ui/numeric_entry.h"

namespace sigcond {

namespace {

constexpr int kPanelLineHeight = 210;     // twips per list line, groups 1 and 2
constexpr int kPanelCharWidth = 115;      // twips per caption character, groups 1 and 2
constexpr int kSingleLineHeight = 310;    // groups 3 and 7
constexpr int kSingleCharWidth = 150;
constexpr int kTwoOptionListHeight = 600;
constexpr int kLabelLineHeight = 240;
constexpr int kNoteCharWidth = 110;
constexpr const char* kNotFor10Ohm = "( NOT FOR 10 OHM )";

bool isType(const Program& p, std::string_view code) { return p.config.inputType == code; }

// The list and label that show item i of group g (nullptr where the catalogue has none).
Control* listOf(Program& p, int g, int i) {
    const int slot = p.config.catalogue.listSlot[g][i];
    if (slot < 1 || slot > kOptionListCount) return nullptr;
    return &p.form1.List1[slot - 1];
}
Control* labelOf(Program& p, int g, int i) {
    const int slot = p.config.catalogue.listSlot[g][i];
    if (slot < 1 || slot > kOptionListCount) return nullptr;
    return &p.form1.Label1[slot - 1];
}

bool validGroup(int g) { return g >= 1 && g <= kGroupCount; }

// RTD: the RTD type and Standard lists (items 2 and 3 of group 1) have no meaning for the
// 10 Ohm copper resistance.
bool rtdCopperItem(const Program& p, int g, int i) {
    return isType(p, kTypeRTD) && g == kGroupInput && (i == 2 || i == 3);
}

void fillList(Program& p, int g, int i, int lineHeight, int charWidth) {
    Control* list = listOf(p, g, i);
    Control* label = labelOf(p, g, i);
    if (list == nullptr || label == nullptr) return;
    const OptionCatalogue& cat = p.config.catalogue;
    const int count = cat.choiceCount[g][i];
    list->lines.clear();
    list->height = count == 2 ? kTwoOptionListHeight : count * lineHeight;
    for (int k = 1; k <= count; ++k) list->lines.push_back(displayedOptionCaption(p, g, i, k));
    if (!list->lines.empty()) {
        list->width = static_cast<int>(list->lines.back().size()) * charWidth;
    }

    const std::string& caption = cat.itemCaption[g][i];
    const int listTop = list->top;
    if (rtdCopperItem(p, g, i)) {
        label->caption = caption + "\r" + kNotFor10Ohm;
        label->width = static_cast<int>(std::string_view(kNotFor10Ohm).size()) * kNoteCharWidth;
        label->height = 2 * kLabelLineHeight;
    } else {
        label->caption = caption;
        label->width = static_cast<int>(caption.size()) * charWidth;
        label->height = kLabelLineHeight;
    }
    label->left = list->left;
    label->top = listTop - label->height - 30;

    const int chosen = p.config.choice[g][i];
    list->selected = chosen >= 1 && chosen <= count ? chosen - 1 : -1;
    list->enabled = !(rtdCopperItem(p, g, i) && p.config.choice[1][1] == 1);
    list->visible = true;
    label->visible = true;
}

// A desired output above 10 cannot be made by a voltage output. The record is read, not the
// scaling boxes: they keep what the panel last showed, which a load or a read leaves behind.
bool aboveVoltageRange(const std::string& recorded) { return textToNumber(recorded) > 10; }

// Every list of the open panel shows the recorded choice again.
void restorePanel(Program& p, int g) {
    if (!validGroup(g)) return;
    for (int i = 1; i <= p.config.catalogue.itemCount[g]; ++i) {
        if (Control* list = listOf(p, g, i)) list->selected = p.config.choice[g][i] - 1;
    }
}

}  // namespace

void backToSummary(Program& p) {
    MainScreen& f = p.form1;
    for (int n = 0; n <= 6; ++n) {
        f.List1[n].visible = false;
        f.Label1[n].visible = false;
    }
    f.Command4.enabled = true;
    f.Text1[1].enabled = true;
    f.Text1[3].enabled = true;
    p.screen.scalingMarker = 0;
    f.Frame7.visible = false;
    f.Picture1.visible = false;
    f.Frame2.visible = false;
    f.Frame5.visible = false;
    if (p.screen.unitConnected != 1) f.Label3.visible = false;
    f.Label10.visible = false;
    f.Label6.visible = false;
    for (int n = 0; n < 4; ++n) {
        f.Label8[n].visible = false;
        f.Text1[n].visible = false;
    }
    f.Text2.visible = false;
    // Live scaling ends with the panel, and the readings it captured go with it.
    p.live.liveStep = 0;
    p.live.capturedInput = {};
    f.Command4.visible = false;
    f.Command6.visible = false;
    if (f.Command3.visible && p.screen.finishedLoading) f.focus = "Command3";
    f.Command7.visible = false;
    f.Frame4.visible = false;
}

void buildGroupPanel(Program& p) {
    const int g = p.screen.currentGroup;
    if (!validGroup(g)) return;
    MainScreen& f = p.form1;
    const OptionCatalogue& cat = p.config.catalogue;
    backToSummary(p);
    if (g == kGroupInput || g == kGroupMode) {
        f.Frame4.caption = cat.groupTitle[g];
        if (p.start.splash.width < 10000) f.Frame4.left = cat.frame[g].left;
        f.Frame4.width = cat.frame[g].width;
        f.Frame4.height = cat.frame[g].height;
        f.Command9.top = f.Frame4.height - 560;
        f.Command10.top = f.Frame4.height - 560;
        f.Command9.left = f.Frame4.width / 2 - 1440;
        f.Command10.left = f.Frame4.width / 2 + 240;
    }
    if (p.screen.uncommittedGroup != 0) commitOpenPanel(p);
    if (g == kGroupResolution) limitProcessResolution(p);

    const bool single = g == kGroupFilter || g == kGroupResolution;
    const int lineHeight = single ? kSingleLineHeight : kPanelLineHeight;
    const int charWidth = single ? kSingleCharWidth : kPanelCharWidth;
    for (int i = 1; i <= cat.itemCount[g]; ++i) fillList(p, g, i, lineHeight, charWidth);

    if (isType(p, kTypeFP) && g == kGroupResolution && p.config.choice[2][1] != 1) {
        if (Control* list = listOf(p, g, 1)) {
            list->selected = 0;
            list->enabled = false;
        }
    }
    p.screen.uncommittedGroup = g;
    if (!single) f.Frame4.visible = true;
}

void commitOpenPanel(Program& p) {
    const int g = p.screen.uncommittedGroup;
    ConfigRecord& rec = p.config;
    p.screen.changePending = 0;
    if (!validGroup(g)) return;
    for (int i = 1; i <= rec.catalogue.itemCount[g]; ++i) {
        const Control* list = listOf(p, g, i);
        // A list with no line selected keeps the recorded choice.
        if (list == nullptr || list->selected < 0) continue;
        const int picked = list->selected + 1;
        if (picked != rec.choice[g][i]) {
            rec.choice[g][i] = picked;
            p.screen.changePending = 1;
        }
    }
    for (int j = 1; j <= rec.catalogue.itemCount[kGroupMode]; ++j) {
        const int k = rec.choice[kGroupMode][j];
        if (k < 1 || k > kMaxOptions) continue;
        if (rec.catalogue.optionCaption[kGroupMode][j][k] != rec.voltOptionCaption) continue;
        if (aboveVoltageRange(rec.scalingText[2])) rec.scalingText[2] = "10.0000";
        if (aboveVoltageRange(rec.scalingText[4])) rec.scalingText[4] = "10.0000";
    }
    if (isType(p, kTypeFP)) {
        const int mode = rec.choice[2][1];
        if (mode != 1) rec.choice[7][1] = 1;
        const int last = p.screen.lastOutputMode;
        if (mode != last && (mode == 1 || last == 1)) {
            rec.scalingText[1] = "000000";
            rec.scalingText[3] = mode == 1 ? "20000" : "100000";
        }
    }
    p.screen.lastOutputMode = rec.choice[2][1];
    // The summary lines (filter, resolution) show the record, as they do after a load.
    refreshSummaryValues(p);
}

void commitPendingPanel(Program& p) {
    if (p.screen.uncommittedGroup > 0) commitOpenPanel(p);
    p.screen.uncommittedGroup = 0;
}

void offerToSend(Program& p) {
    if (p.screen.unitConnected != 1 || p.screen.changePending != 1) return;
    if (p.dialogs.messageBox(kSendQuestion, Buttons::YesNo, Icon::Question, " ") == Answer::Yes) {
        sendConfiguration(p);
    }
}

void openGroupMenu(Program& p, int group) {
    p.screen.currentGroup = group;
    buildGroupPanel(p);
    if (group == kGroupFilter || group == kGroupResolution) p.form1.Frame7.visible = true;
}

void command9Click(Program& p) {
    backToSummary(p);
    if (p.screen.unitConnected != 1) return;
    if (isType(p, kTypePR) && p.screen.currentGroup == kGroupInput) {
        commitOpenPanel(p);
        p.screen.uncommittedGroup = 0;
        p.screen.currentGroup = kGroupResolution;
        limitProcessResolution(p);
        // The narrowing may have lowered the resolution: the summary line shows the new one.
        refreshSummaryValues(p);
        p.screen.currentGroup = kGroupInput;
    }
    if (p.screen.uncommittedGroup != 0) {
        commitOpenPanel(p);
        p.screen.uncommittedGroup = 0;
    }
    offerToSend(p);
}

void command12Click(Program& p) {
    backToSummary(p);
    if (p.screen.uncommittedGroup != 0) commitOpenPanel(p);
    p.screen.uncommittedGroup = 0;
    offerToSend(p);
}

void command10Click(Program& p) {
    abandonEntry(p);
    restorePanel(p, p.screen.currentGroup);
    backToSummary(p);
}

void command11Click(Program& p) { command10Click(p); }

void optionListClick(Program& p, int index, int line) {
    if (index < 0 || index >= kOptionListCount) return;
    Control& list = p.form1.List1[index];
    if (!list.enabled || line < 0 || line >= static_cast<int>(list.lines.size())) return;
    list.selected = line;
    const int g = p.screen.currentGroup;
    if (validGroup(g)) p.config.groupTouched[g] = 1;
    // RTD: the copper resistance has no RTD type and no standard.
    if (isType(p, kTypeRTD) && g == kGroupInput && listOf(p, 1, 1) == &list) {
        for (int i = 2; i <= 3; ++i) {
            if (Control* other = listOf(p, 1, i)) other->enabled = line != 0;
        }
    }
}

}  // namespace sigcond
