// Screen-wide state of the main configuration screen.
#pragma once

namespace sigcond {

struct ScreenState {
    int unitConnected = 0;     // 1 = unit on the serial port; 0 or -1 = demo work
    int currentGroup = 1;      // option group whose panel is open
    int uncommittedGroup = 0;  // group whose selections are not yet in the record (0 = none)
    int changePending = 0;     // the last commit changed a choice
    int lastOutputMode = 0;    // group 2 item 1 at the previous commit
    int deferredAction = 0;    // what Timer2 does on its next tick (0..4)
    int abortFlag = 0;         // set by every error report
    int leavingToStart = 0;    // the main screen closes to go back, not to end the program
    int bannerTicks = 0;       // live cycles until the load/save banner is hidden
    bool finishedLoading = false;
    int scalingMarker = 0;     // the scaling panel's selection marker, cleared on return to summary
    // A Timer2 action is running. The line-settings search lets screen events run, so the
    // operator can cancel back to the port chooser and pick a port before the cancelled read
    // has unwound; that pick waits here (port index 0..3, -1 = none) until it has.
    bool actionRunning = false;
    int pendingPortPick = -1;
};

}  // namespace sigcond
