#include "config/read_config.h"

#include "config/option_catalogue.h"
#include "config/register_codec.h"
#include "link/command_set.h"
#include "link/line_search.h"
#include "link/send_command.h"
#include "program.h"
#include "ui/error_reports.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

namespace {

// What became of the unit's part of the read.
enum class UnitRead { Done, RegisterFailed, PortFailed, Abandoned };

UnitRead readRegisters(Program& p) {
    if (!connectToUnit(p)) {
        // A port that cannot be used goes on to the common end; a search without an answer
        // (reported already) and a cancel back to the port chooser end the read here.
        return p.link.linkError == 2 ? UnitRead::PortFailed : UnitRead::Abandoned;
    }
    p.link.identifyMode = false;
    p.transfer.unitIdentified = 1;
    p.config.inputType = inputTypeForNumber(p.link.replyText);
    buildOptionCatalogue(p);
    for (const CommandStep& step : configurationReadSequence(p)) {
        // A port that failed after an answer came through is not written to again.
        if (p.port.failed()) {
            reportPortFailure(p);
            return UnitRead::PortFailed;
        }
        if (!runStep(p, step)) {
            return p.link.linkError == 2 ? UnitRead::PortFailed : UnitRead::RegisterFailed;
        }
    }
    enableMenusAfterRead(p);
    decodeConfiguration(p);
    return UnitRead::Done;
}

// The unit's part of the read; a port that fails on the way ends it as a wrong port.
UnitRead readFromUnit(Program& p) {
    p.link.readingConfiguration = true;
    const UnitRead result = readRegisters(p);
    p.link.readingConfiguration = false;
    return result;
}

// The main screen and the live display follow the configuration just read or prepared.
void finishSuccessfulRead(Program& p) {
    refreshSummary(p);
    p.screen.uncommittedGroup = 0;
    p.form1.Command5.visible = false;
    refreshDerivedLabels(p);
    p.live.unitOutputUnitText = p.config.outputUnitText;
    p.live.unitOutputFullScale = p.config.outputUnitText == "  Volt" ? 10.0 : 20.0;
    p.live.rangeFactor = rangeFactor(p);
    p.form1.Label13.caption = p.config.readingUnitText;
    p.transfer.readSucceeded = 1;
    p.screen.lastOutputMode = p.config.choice[2][1];
}

void commonEnd(Program& p) {
    p.config.groupTouched.fill(0);
    p.form1.Label3.visible = false;
    if (p.link.linkError == 1) {
        p.form1.Command5.visible = true;
        showError(p, kErrorCommunication);
        p.link.linkError = 0;
        p.link.identifyMode = false;
    }
    if (p.link.linkError == 2) p.link.linkError = 1;
    if (ratiometricInput(p)) p.form1.Label13.caption = " %";
    p.form1.Label16.caption = p.config.outputUnitText;
}

}  // namespace

bool ratiometricInput(const Program& p) {
    const ConfigRecord& rec = p.config;
    return (rec.inputType == kTypePR && rec.choice[1][3] == 2) ||
           (rec.inputType == kTypeST && rec.choice[1][2] == 2);
}

void readConfiguration(Program& p) {
    p.link.linkError = 0;
    p.transfer.readSucceeded = 0;
    printReadingErrorPanel(p);
    p.live.readingErrorShown = 0;
    p.link.longTimeoutOnce = false;
    p.transfer.unitIdentified = 0;

    if (p.screen.unitConnected == 1) {
        switch (readFromUnit(p)) {
            case UnitRead::Abandoned:
                return;
            case UnitRead::RegisterFailed:
                // sendCommand has reported the silent unit; the operator goes on with Command5.
                p.link.linkError = 0;
                p.form1.Command5.visible = true;
                break;
            case UnitRead::PortFailed:
                break;
            case UnitRead::Done:
                finishSuccessfulRead(p);
                break;
        }
    } else {
        buildOptionCatalogue(p);
        finishSuccessfulRead(p);
    }
    commonEnd(p);
}

}  // namespace sigcond
