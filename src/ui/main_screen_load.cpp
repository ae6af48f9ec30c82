// Loading and unloading Form1, the status banner, and the ways out of the window.
#include "link/command_set.h"
#include "measure/live_cycle.h"
#include "program.h"
#include "records/graph_window.h"
#include "ui/error_reports.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"
#include "ui/start_flow.h"

namespace sigcond {

namespace {

constexpr int kBannerTwipsPerCharacter = 116;
constexpr int kBannerFontSize = 10;

bool askExit(Program& p) {
    return p.dialogs.messageBox(kExitQuestion, Buttons::YesNo, Icon::Question, " ") ==
           Answer::Yes;
}

// What lives as long as one load of the main window starts afresh with it.
void resetWindowLevelState(Program& p) {
    takeNormalLabelColours(p);
    p.live.normalBoxWidth = p.form1.Text1[0].width;
    p.live.rangeBlink = 0;
    p.live.errorBlink = 0;
    p.live.focusRequest = 0;
    p.screen.bannerTicks = 0;
    p.screen.scalingMarker = 0;
    p.log.logBlink = 0;
    // The trend buffer keeps its slot: readings after a reload go on after the earlier ones
    // instead of overwriting the oldest while the newer ones are still shown.
}

}  // namespace

void loadMainScreen(Program& p) {
    initMainScreen(p);
    MainScreen& f = p.form1;
    f.loaded = true;
    p.screen.finishedLoading = false;
    backToSummary(p);
    p.screen.finishedLoading = true;

    resetLinkState(p);
    resetWindowLevelState(p);
    p.screen.leavingToStart = 0;
    p.screen.deferredAction = kActionLayout;
    // The lists were just emptied: nothing is left to commit from an earlier load.
    p.screen.uncommittedGroup = 0;

    f.ANA2.visible = false;
    f.VW.enabled = false;
    f.DISP.enabled = false;
    f.logdata.enabled = false;
    if (p.screen.unitConnected == 1) {
        f.GRA.enabled = false;
        f.FILES.enabled = false;
        f.CNF.enabled = false;
        f.Command8.enabled = false;
        f.Command5.visible = true;
        f.Command5.caption = "&Click here to cancel";
        showBanner(p, std::string(kBannerEstablishing));
    } else {
        showBanner(p, std::string(kBannerPleaseWait));
    }
    f.Timer2.intervalMs = 100;
    f.Timer2.enabled = true;
}

void unloadMainScreen(Program& p) {
    if (!p.form1.loaded) return;
    p.form1.loaded = false;
    p.form1.Timer1.enabled = false;
    p.form1.Timer2.enabled = false;
    // Logging belongs to the live reading of this window: it ends with it, and the file is
    // closed with every record written so far. The next load starts with logging off.
    p.log.loggingOn = 0;
    p.log.logFile.close();
    if (p.port.isOpen()) p.port.close();
    if (p.screen.leavingToStart != 1) endProgram(p);
}

void reloadMainScreen(Program& p) {
    p.screen.leavingToStart = 1;
    unloadMainScreen(p);
    loadMainScreen(p);
}

void showBanner(Program& p, const std::string& text) {
    Control& banner = p.form1.Label3;
    banner.width = static_cast<int>(text.size()) * kBannerTwipsPerCharacter;
    banner.fontSize = kBannerFontSize;
    banner.caption = text;
    banner.visible = true;
}

void command5Click(Program& p) {
    showPortChooser(p);
    p.screen.leavingToStart = 1;
    unloadMainScreen(p);
}

void command8Click(Program& p) {
    p.screen.leavingToStart = 1;
    p.form1.pointer = Pointer::Hourglass;
    showStartWindow(p.start.question);
    unloadMainScreen(p);
    p.form1.pointer = Pointer::Arrow;
    p.start.question.pointer = Pointer::Arrow;
    closeGraphWindow(p);
}

void command15Click(Program& p) {
    if (askExit(p)) endProgram(p);
}

void extsClick(Program& p) {
    backToSummary(p);
    commitPendingPanel(p);
    if (askExit(p)) {
        endProgram(p);
    } else {
        p.form1.Command5.enabled = true;
    }
}

void form1Close(Program& p) { unloadMainScreen(p); }

}  // namespace sigcond
