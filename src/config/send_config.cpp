#include "config/send_config.h"

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "link/command_set.h"
#include "program.h"
#include "ui/error_reports.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

std::string shownReadingUnitText(const Program& p) {
    const ConfigRecord& c = p.config;
    const bool ratiometric = (c.inputType == kTypePR && c.choice[kGroupInput][3] == 2) ||
                             (c.inputType == kTypeST && c.choice[kGroupInput][2] == 2);
    return ratiometric ? " %" : c.readingUnitText;
}

namespace {

constexpr const char* kVoltUnitText = "  Volt";

// The live display's units and output range as registers 01 and 02 hold them once the unit has
// confirmed them: the reading's unit, the output mode (current or voltage) and its full scale.
void showUnitsOfSentOptions(Program& p) {
    MainScreen& f = p.form1;
    const ConfigRecord& c = p.config;
    refreshDerivedLabels(p);
    f.Label16.caption = c.outputUnitText;
    p.live.rangeFactor = rangeFactor(p);
    f.Label13.caption = shownReadingUnitText(p);
    p.live.outputFullScale = c.outputUnitText == kVoltUnitText ? 10.0 : 20.0;
    p.live.unitOutputFullScale = p.live.outputFullScale;
    p.live.unitOutputUnitText = c.outputUnitText;
}

// For process, strain and AC inputs the reading's unit and the range factor follow register 01
// alone: once the unit has confirmed it, it measures in the range just sent.
void showReadingUnitOfSentRange(Program& p) {
    const std::string& type = p.config.inputType;
    if (type != kTypePR && type != kTypeST && type != kTypeACV && type != kTypeACC) return;
    refreshDerivedLabels(p);
    p.live.rangeFactor = rangeFactor(p);
    p.form1.Label13.caption = shownReadingUnitText(p);
}

void refreshMainScreenAfterSend(Program& p) {
    const ConfigRecord& c = p.config;
    // The unit needs quiet cycles to apply new settings before it is polled again.
    if (p.form1.Frame9.visible) p.live.waitTicks = 1;
    showUnitsOfSentOptions(p);
    // The frequency deferral is sized by the gate register as the unit now holds it: the
    // hexadecimal text just sent, not the decimal count as typed (" 12 " would read as garbage).
    if (c.inputType == kTypeFP) p.link.gateRegisterValue = p.registers.registerText[5];
    p.live.displayDecimals = c.choice[kGroupResolution][1] - 1;
}

}  // namespace

void cancelSendSummary(Program& p) { p.form1.Frame5.visible = false; }

void sendConfiguration(Program& p) {
    p.config.modeMarker.clear();
    p.transfer.partialSend = 0;
    p.link.identifyMode = false;
    backToSummary(p);
    if (p.screen.unitConnected != 1) {
        showError(p, kErrorNotConnected);
        return;
    }
    const bool liveReadingWasOn = p.form1.Timer1.enabled;
    p.form1.Timer1.enabled = false;
    p.link.longTimeoutOnce = false;
    commitPendingPanel(p);
    p.transfer.scaleInUnit = p.live.outputScale;
    p.transfer.offsetInUnit = p.live.outputOffset;
    // Only the encoder's own failure stops the send: a flag left by an earlier failed exchange
    // does not.
    if (!encodeConfiguration(p)) {
        // The encoder has reported the scaling fault; nothing is sent. The live reading goes
        // on as before rather than freezing on its last value.
        p.link.linkError = 0;
        p.form1.Timer1.enabled = liveReadingWasOn;
        return;
    }
    showBanner(p, std::string(kBannerSending));
    runLater(p, kActionSend);
}

void transmitConfiguration(Program& p) {
    LinkState& link = p.link;
    if (link.deferredPolls > 0) link.deferredPolls = 0;
    if (link.settledCount != 3) link.settledCount = 3;
    link.linkError = 0;

    const bool partial = p.transfer.partialSend != 0;
    bool answered = true;
    bool rangeConfirmed = false;
    bool modeConfirmed = false;
    for (const CommandStep& step : configurationWriteSequence(p, partial)) {
        // Any failure, a silent unit or a port that could not be used, ends the transfer.
        if (!runStep(p, step)) {
            answered = false;
            break;
        }
        // From its confirmed write on, the unit works with the output mode, scale or offset
        // just encoded.
        if (step.command.starts_with("W01")) rangeConfirmed = true;
        if (step.command.starts_with("W02")) modeConfirmed = true;
        if (step.command.starts_with("W05")) p.transfer.scaleInUnit = p.live.outputScale;
        if (step.command.starts_with("W06")) p.transfer.offsetInUnit = p.live.outputOffset;
    }
    link.longTimeoutOnce = false;
    if (!answered) {
        if (link.linkError == 0) link.linkError = 1;
        p.form1.Label3.visible = false;
        if (modeConfirmed)
            showUnitsOfSentOptions(p);
        else if (rangeConfirmed)
            showReadingUnitOfSentRange(p);
        return;
    }
    if (!partial) {
        showBanner(p, std::string(kBannerTransmitted));
        p.screen.bannerTicks = kSentBannerTicks;
    }
    refreshMainScreenAfterSend(p);
    link.deferredPolls = 0;
}

void runDeferredTransmit(Program& p) {
    transmitConfiguration(p);
    if (p.link.linkError != 0) {
        // The unit did not take the whole configuration: the output it makes of a reading
        // follows the scale and offset it confirmed, or else the ones it had.
        p.live.outputScale = p.transfer.scaleInUnit;
        p.live.outputOffset = p.transfer.offsetInUnit;
        // The report says the configuration did not go out: it stays until the operator's
        // next command returns to the summary view, rather than going with the next reading.
        p.live.errorPanelShown = 0;
    }
    p.form1.Timer1.enabled = true;
}

void offerToSendNow(Program& p) {
    const Answer answer =
        p.dialogs.messageBox(kSendQuestion, Buttons::YesNo, Icon::Question, " ");
    if (answer == Answer::Yes) sendConfiguration(p);
}

}  // namespace sigcond
