#include "measure/live_scaling.h"

#include <cmath>

#include "common/convert.h"
#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "config/send_config.h"
#include "link/command_set.h"
#include "measure/scaling_rules.h"
#include "program.h"
#include "ui/numeric_entry.h"

namespace sigcond {

namespace {

constexpr int kBlack = 0x000000;
constexpr int kRed = 0xFF0000;

double outputFullScaleOnScreen(const Program& p) {
    return textToNumber(p.config.outputFullScaleText);
}

}  // namespace

std::string unityScaleCodeFor(const Program& p) {
    return unityScaleCode(p.config.inputType, outputFullScaleOnScreen(p),
                          rangeFactor(p).value_or(0.0));
}

std::string unityScaleQuestion(const Program& p) {
    const ConfigRecord& c = p.config;
    std::string inputRange;
    if (c.inputType == "TC" || c.inputType == "RTD") {
        inputRange = "1000" + c.readingUnitText;
    } else {
        const double factor = rangeFactor(p).value_or(0.0);
        const double fullScale = factor > 0 ? std::floor(100000.0 / factor) : 0.0;
        inputRange = numberToText(fullScale, true) + c.readingUnitText;
    }
    return "DO YOU WANT TO SET THE ANALOG OUTPUT SCALE = 1   ( " + inputRange +
           " input  = " + numberToText(outputFullScaleOnScreen(p), true) +
           p.live.unitOutputUnitText + "  output ) \rOFFSET = 0 ?";
}

void startLiveScaling(Program& p) {
    MainScreen& f = p.form1;
    f.Picture2.visible = false;
    p.live.liveStep = 1;
    p.transfer.partialSend = 1;
    // Only a failure of this attempt stops it, not a flag an earlier exchange left.
    const bool encoded = encodeConfiguration(p);
    if (encoded) transmitConfiguration(p);
    p.transfer.partialSend = 0;
    if (!encoded || p.link.linkError != 0) {
        // A failed exchange has already abandoned the entry; any other failure ends it here.
        if (p.live.liveStep != 0) abandonEntry(p);
        return;
    }
    f.Text1[2].caption.clear();
    f.Text1[3].caption.clear();
    beginLiveScaling(p);
}

void beginLiveScaling(Program& p) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    f.Timer1.enabled = true;
    live.unityScalePending = 0;
    live.liveStep = 1;
    f.Text1[1].caption.clear();
    f.Text1[1].foreColour = kRed;
    f.focus = "Text1(1)";
    f.Text1[0].foreColour = kRed;
    f.Command7.enabled = false;
    f.Label10.visible = false;

    bool unity = false;
    if (p.config.inputType != "FP") {
        unity = p.dialogs.messageBox(unityScaleQuestion(p), Buttons::YesNo, Icon::Question,
                                     kUnityScaleTitle) == Answer::Yes;
    }
    f.Label11.visible = true;
    if (unity) {
        live.unityScalePending = 1;
        return;
    }
    runStep(p, outputUpdateStep());
    if (p.link.linkError != 0) {
        p.link.linkError = 0;
        p.link.longTimeoutOnce = false;
    }
    live.waitTicks = 1;
    live.unityScalePending = 0;
}

bool runUnityScaleBurst(Program& p) {
    LiveState& live = p.live;
    const std::string code = unityScaleCodeFor(p);
    if (code.empty()) {
        // No unity scale exists for this input: nothing to send, only the pause.
        live.unityScalePending = 0;
        live.waitTicks = 1;
        return true;
    }
    // The burst ends at the first command the unit leaves unanswered or still refuses after
    // the resends, as a configuration transfer does.
    for (const CommandStep& step : liveOutputSequence(code)) {
        if (!runStep(p, step)) {
            p.form1.Timer1.enabled = false;
            p.form1.Label11.visible = false;
            // The failed exchange has abandoned the live scaling the unity scale was asked for;
            // sent later on its own it would leave the unit's output at scale 1, offset 0, away
            // from the scaling the program shows.
            live.unityScalePending = 0;
            return false;
        }
        // The unit works with the offset and the scale from their confirmed writes on.
        if (step.command.starts_with("W06")) live.outputOffset = 0.0;
        if (step.command.starts_with("W05")) live.outputScale = scaleCodeValue(code);
    }
    live.waitTicks = 1;
    live.unityScalePending = 0;
    return true;
}

void captureLiveInput(Program& p, double reading) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    const int step = live.liveStep;
    if (step != 1 && step != 2) return;
    const int inputBox = step == 1 ? 0 : 2;
    if (!f.Text1[1].enabled) {
        f.Command4.enabled = true;
        f.Text1[1].enabled = true;
        f.Text1[3].enabled = true;
        text1GotFocus(p, inputBox);
    }
    if (live.focusRequest == 1) {
        text1GotFocus(p, inputBox);
        f.Command4.enabled = true;
    }
    f.Text1[inputBox].caption = live.shownReading;
    live.capturedInput[step] = reading;
}

void confirmLiveStep(Program& p, bool checksPassed) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    // A confirmed step puts its input into the record: the change is pending from here, not
    // from a focus event the window system may never deliver.
    if (live.liveStep == 1 || live.liveStep == 2) {
        p.config.groupTouched[kGroupScaling] = 1;
        p.screen.changePending = 1;
    }
    if (live.liveStep == 1) {
        f.focus = "Text1(3)";
        f.Text1[3].caption.clear();
        f.Text1[0].foreColour = kBlack;
        f.Text1[2].foreColour = kRed;
        f.Text1[3].foreColour = kRed;
        p.config.scalingText[1] = f.Text1[0].caption;
        live.liveStep = 2;
    } else if (live.liveStep == 2) {
        f.Text1[2].foreColour = kBlack;
        p.config.scalingText[3] = f.Text1[2].caption;
        if (checksPassed) live.scalingAccepted = 1;
        live.liveStep = 0;
        f.focus = "Command3";
        f.Command7.enabled = true;
    }
}

}  // namespace sigcond
