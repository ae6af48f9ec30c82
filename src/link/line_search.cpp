#include "link/line_search.h"

#include "link/command_set.h"
#include "link/send_command.h"
#include "program.h"
#include "ui/error_reports.h"

namespace sigcond {

namespace {

constexpr int kBaudCount = 5;
constexpr int kParityCount = 3;

void failSearch(Program& p) {
    p.form1.Command5.visible = true;
    showError(p, kErrorCommunication);
    p.link.linkError = 1;
}

}  // namespace

bool connectToUnit(Program& p) {
    LinkState& link = p.link;
    if (link.baudTable[1].empty() || link.parityTable[1].empty()) fillLinkTables(p);

    link.identifyMode = true;
    int parity = 1;

    p.port.setPortNumber(link.portNumber);
    if (!p.port.open()) {
        reportPortFailure(p);
        return false;
    }

    link.linkError = 1;
    bool found = false;
    for (int baud = 1; baud <= kBaudCount && !found;) {
        p.dialogs.processEvents();
        if (p.start.portChooserVisible) {
            // The operator cancelled back to the port chooser: end without a report.
            link.linkError = 1;
            return false;
        }
        link.lineSettings = lineSettingsText(link.baudTable[baud], link.parityTable[parity]);
        p.port.setLineSettings(link.lineSettings);
        const CommandStep identify = identificationStep();
        sendCommand(p, identify.command, identify.replyLength);
        if (p.port.failed()) {
            // Gone or failing since it was opened: no further attempt is made.
            reportPortFailure(p);
            return false;
        }

        if (link.replyHead == "U") {
            found = true;
        } else if (link.replyHead == "?") {
            parity = 1;  // a rejected identification tries this baud rate again from "O"
        } else if (parity < kParityCount) {
            ++parity;
        } else {
            parity = 1;
            ++baud;
        }
    }

    // Only an answer led by "U" identifies the unit; stray characters in the last reply of a
    // search that found nothing are no type code.
    if (!found) {
        failSearch(p);
        return false;
    }
    link.linkError = 0;
    link.identifyMode = false;
    p.transfer.unitIdentified = 1;
    return true;
}

}  // namespace sigcond
