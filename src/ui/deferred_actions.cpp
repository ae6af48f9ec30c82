// Timer2, the main screen's deferred-action timer: a handler sets deferredAction and enables
// the timer (runLater), and the action runs on the next tick, outside the event that asked for
// it, so that the banner is drawn first. The start-up sequence is actions 0 -> 3 -> 4.
#include <iterator>

#include "config/read_config.h"
#include "config/send_config.h"
#include "program.h"
#include "records/print_report.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"
#include "ui/start_flow.h"

namespace sigcond {

namespace {

struct DeferredActionRow {
    int code;
    void (*run)(Program&);
};

// What each action code runs.
constexpr DeferredActionRow kDeferredActions[] = {
    {kActionLayout, layoutAction},
    {kActionSend, runDeferredTransmit},
    {kActionPrint, printConfigurationReport},
    {kActionRead, readAction},
    {kActionLargeScreen, largeScreenAction},
};

}  // namespace

void layoutAction(Program& p) {
    MainScreen& f = p.form1;
    p.screen.deferredAction = kActionRead;
    f.Picture5.top = f.Label2.top + f.Label2.height - f.Picture5.height;
}

void readAction(Program& p) {
    readConfiguration(p);
    if (!p.form1.loaded) return;  // the operator went back to the port chooser meanwhile
    MainScreen& f = p.form1;
    f.Command5.caption = "&Click here to continue";
    p.live.displayOn = 1;
    if (!p.start.portChooserVisible && p.link.linkError == 0 && p.screen.unitConnected == 1) {
        f.Frame9.visible = true;
    }
}

void largeScreenAction(Program& p) {
    // Our windows are placed by the platform; the layout step leaves their positions alone and
    // only ends any abort that the start-up raised.
    p.screen.abortFlag = 0;
    if (p.screen.unitConnected == 1) p.form1.Timer1.enabled = true;
    p.form1.focus = "Command3";
}

void runLater(Program& p, int action) {
    p.screen.deferredAction = action;
    p.form1.Timer2.enabled = true;
}

void timer2Tick(Program& p) {
    // A tick that arrives while an action lets screen events run waits for the next one.
    if (!p.form1.loaded || p.screen.actionRunning) return;
    const int action = p.screen.deferredAction;
    p.screen.actionRunning = true;
    for (const DeferredActionRow& row : kDeferredActions) {
        if (row.code == action) row.run(p);
    }
    p.screen.actionRunning = false;
    if (p.screen.pendingPortPick >= 0) {
        // The operator went back and chose a port while the read was unwinding.
        const int index = p.screen.pendingPortPick;
        p.screen.pendingPortPick = -1;
        portPick(p, index);
        return;
    }
    if (action == kActionLayout) return;  // the timer stays on for the read
    if (!p.form1.loaded) return;          // the action left the window
    if (p.transfer.readSucceeded == 1 && p.screen.deferredAction == kActionRead) {
        p.screen.deferredAction = kActionLargeScreen;
    } else {
        p.form1.Timer2.enabled = false;
    }
}

}  // namespace sigcond
