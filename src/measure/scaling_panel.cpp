#include "measure/scaling_panel.h"

#include <cmath>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/send_config.h"
#include "measure/live_scaling.h"
#include "measure/scaling_rules.h"
#include "program.h"
#include "ui/main_screen_ops.h"
#include "ui/numeric_entry.h"

namespace sigcond {

namespace {

constexpr int kBlack = 0x000000;
constexpr int kWhite = 0xFFFFFF;
constexpr const char* kBoxCaptions[4] = {"Input 1", "Desired output 1", "Input 2",
                                         "Desired output 2"};

}  // namespace

void analogOutputScalingMenu(Program& p) {
    p.screen.changePending = 0;
    p.form1.Label10.caption = kScalingHint;
    p.form1.Label10.foreColour = kNavyColour;
    openScalingPanel(p);
}

void openScalingPanel(Program& p) {
    MainScreen& f = p.form1;
    p.screen.currentGroup = kGroupScaling;
    commitPendingPanel(p);
    backToSummary(p);
    refreshDerivedLabels(p);
    if (p.screen.unitConnected == 1) {
        f.Command7.visible = true;
        f.Command7.enabled = true;
    }
    f.Label10.visible = true;
    layOutScalingPanel(p);
    for (int i = 1; i <= 4; ++i) p.live.savedScalingText[i] = p.config.scalingText[i];
}

void layOutScalingPanel(Program& p) {
    MainScreen& f = p.form1;
    const ConfigRecord& c = p.config;
    if (f.Text1[1].width > 0) p.live.normalBoxWidth = f.Text1[1].width;
    f.Frame2.caption = kScalingFrameTitle;
    f.Frame2.visible = true;
    for (int i = 0; i < 4; ++i) {
        f.Label8[i].caption = kBoxCaptions[i];
        f.Label8[i].visible = true;
        f.Text1[i].visible = true;
        f.Text1[i].foreColour = kBlack;
        f.Text1[i].backColour = kWhite;
        f.Text1[i].caption = c.scalingText[i + 1];
        f.Label14[i].caption = c.outputUnitText;
        f.Label14[i].visible = true;
    }
    const bool countingInputs = c.inputType == "FP" && c.choice[kGroupMode][1] != 1;
    const int inputWidth = countingInputs
                               ? static_cast<int>(std::lround(p.live.normalBoxWidth * 1.1))
                               : p.live.normalBoxWidth;
    f.Text1[0].width = inputWidth;
    f.Text1[2].width = inputWidth;
    f.Label14[0].caption = shownReadingUnitText(p);
    f.Label14[2].caption = shownReadingUnitText(p);
    // The unit labels stay clear of their boxes, widened or not.
    for (int i = 0; i < 4; ++i) {
        if (f.Text1[i].left > 0) f.Label14[i].left = f.Text1[i].left + f.Text1[i].width + 120;
    }
    f.Command4.visible = true;
    f.Command6.visible = true;
}

void applyScalingEntry(Program& p) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    live.scalingAccepted = 1;
    if (live.liveStep == 1) {
        live.entryBox = 1;
        live.scalingAccepted = 0;
    } else if (live.liveStep == 2) {
        live.entryBox = 3;
    }
    if (live.entryBox < 0 || live.entryBox > 3) live.entryBox = 0;
    Control& box = f.Text1[live.entryBox];
    if (box.caption.empty()) box.caption = "000000";

    const std::array<std::string, 4> texts{f.Text1[0].caption, f.Text1[1].caption,
                                           f.Text1[2].caption, f.Text1[3].caption};
    const ScalingCheck check = checkScalingEntry(
        texts, textToNumber(p.config.outputFullScaleText), p.config.outputUnitText,
        live.focusedBox == 1, live.liveStep, f.Label8[0].caption, f.Label8[2].caption);
    switch (check.fault) {
        case ScalingFault::None:
            break;
        case ScalingFault::Range:
            p.dialogs.messageBox(check.message, Buttons::Ok, Icon::Exclamation,
                                 std::string(kScalingErrorTitle));
            live.scalingAccepted = 0;
            break;
        case ScalingFault::Span:
            p.dialogs.messageBox(check.message, Buttons::AbortRetryIgnore, Icon::Exclamation,
                                 std::string(kScalingErrorTitle));
            live.scalingAccepted = 0;
            break;
        case ScalingFault::SameOutputs:
            live.scalingAccepted =
                p.dialogs.messageBox(check.message, Buttons::OkCancel, Icon::Exclamation,
                                     std::string(kScalingErrorTitle)) == Answer::Cancel
                    ? 0
                    : 1;
            break;
    }

    box.foreColour = kBlack;
    p.config.scalingText[live.entryBox + 1] = box.caption;

    if (live.liveStep == 1 || live.liveStep == 2) {
        confirmLiveStep(p, check.fault == ScalingFault::None);
    } else {
        f.focus = "Command3";
    }
}

void scalingOk(Program& p) {
    LiveState& live = p.live;
    live.focusedBox = 1;
    live.scalingAccepted = 1;
    applyScalingEntry(p);
    if (live.scalingAccepted != 1) return;
    backToSummary(p);
    if (p.screen.unitConnected == 1 && p.screen.changePending == 1) {
        if (p.dialogs.messageBox(kSendQuestion, Buttons::YesNo, Icon::Question, " ") ==
            Answer::Yes) {
            sendConfiguration(p);
        }
    }
}

void scalingCancel(Program& p) {
    abandonEntry(p);
    backToSummary(p);
}

}  // namespace sigcond
