#include "measure/display_menu.h"

#include "program.h"
#include "ui/error_reports.h"
#include "ui/main_screen_ops.h"

namespace sigcond {

void displayMenu(Program& p) {
    commitPendingPanel(p);
    backToSummary(p);
}

void displayOnOff(Program& p) {
    MainScreen& f = p.form1;
    LiveState& live = p.live;
    if (p.screen.unitConnected != 1) {
        showError(p, kErrorNotConnected);
        return;
    }
    if (live.displayOn == 0) {
        f.Timer1.enabled = true;
        live.displayOn = 1;
        live.readingErrorShown = 0;
        p.link.quickPollMode = false;
        f.Picture2.visible = false;
        f.Frame9.visible = true;
    } else {
        f.Frame9.visible = false;
        live.displayOn = 0;
        f.Picture2.visible = false;
    }
}

}  // namespace sigcond
