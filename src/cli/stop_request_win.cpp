#include <windows.h>

#include "cli/stop_request.h"

namespace sigcond::cli {
namespace {

// How long a console being closed waits for the sessions to stop at their next step; the
// system ends the process itself about five seconds after the close.
constexpr DWORD kCloseGraceMs = 4000;

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            requestStop();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The process ends as soon as this returns; meanwhile the run finishes (and the
            // process ends) by itself once every session has stopped.
            requestStop();
            Sleep(kCloseGraceMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void installStopHandlers() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

}  // namespace sigcond::cli
