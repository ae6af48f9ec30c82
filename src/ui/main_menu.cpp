// The main screen's menus that open and close panels, and the menu states and summary lines
// that follow the configuration once it has been read (or prepared in demo work).
#include <string>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "program.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

bool hasResolution(const Program& p) {
    return p.config.inputType != kTypeACV && p.config.inputType != kTypeACC;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

void refreshSummaryValues(Program& p) {
    const ConfigRecord& rec = p.config;
    MainScreen& f = p.form1;
    const int filter = rec.choice[3][1];
    if (filter >= 1 && filter <= kMaxOptions) {
        f.LABEL17[1].caption = numberToText(textToNumber(rec.catalogue.optionCaption[3][1][filter]));
    }
    const int resolution = rec.choice[7][1];
    f.LABEL18[1].caption = hasResolution(p) && resolution >= 1 && resolution <= kMaxOptions
                               ? trimmed(displayedOptionCaption(p, 7, 1, resolution))
                               : "";
    double gate = textToNumber(rec.gateTimeText) * 10;
    if (gate == 0) gate = 3;
    f.Label28[1].caption = numberToText(gate) + " ms";
    f.Label29[1].caption = numberToText(textToNumber(rec.debounceTimeText) * 5) + " ms";
}

void enableMenusAfterRead(Program& p) {
    MainScreen& f = p.form1;
    f.GRA.enabled = true;
    f.CNF.enabled = true;
    f.DISP.enabled = true;
    f.VW.enabled = true;
    f.FILES.enabled = true;
    f.logdata.enabled = true;
    f.Command8.enabled = true;
}

void refreshSummary(Program& p) {
    MainScreen& f = p.form1;
    typeNameOf(p);
    const bool resolution = hasResolution(p);
    f.LABEL17[0].visible = true;
    f.LABEL17[1].visible = true;
    f.RESOL.visible = false;
    if (resolution) f.RESOL.visible = true;
    f.LABEL18[0].caption = "Resolution                  =";
    f.LABEL18[0].visible = resolution;
    f.LABEL18[1].visible = resolution;
    const bool frequency = p.config.inputType == kTypeFP;
    f.GATE.visible = frequency;
    f.DEBT.visible = frequency;
    for (auto* line : {&f.Label28, &f.Label29}) {
        (*line)[0].visible = frequency;
        (*line)[1].visible = frequency;
    }
    f.Label28[0].caption = "Gate time                    =";
    f.Label9.caption = "MODEL  :  " + p.config.inputTypeName;
    f.Label9.visible = true;
    refreshSummaryValues(p);
    // The group panel takes the frame of the current group when it is next opened.
    const int g = p.screen.currentGroup;
    if (g == kGroupInput || g == kGroupMode) {
        const FrameLayout& frame = p.config.catalogue.frame[g];
        f.Frame4.caption = p.config.catalogue.groupTitle[g];
        if (p.start.splash.width < 10000) f.Frame4.left = frame.left;
        f.Frame4.width = frame.width;
        f.Frame4.height = frame.height;
    }
}

void cnfClick(Program& p) { backToSummary(p); }

void filesClick(Program& p) {
    backToSummary(p);
    commitPendingPanel(p);
}

}  // namespace sigcond
