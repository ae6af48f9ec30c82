// A run without a screen stops when it is asked to (Ctrl+C, SIGINT, SIGTERM; on Windows also
// Ctrl+Break and closing the console) at whatever step it is: the request is noted here, and
// every session's port and search look at it.
#pragma once

namespace sigcond::cli {

// Catches the system's stop requests from now on; each only notes the request.
// (stop_request_posix.cpp, stop_request_win.cpp)
void installStopHandlers();
bool stopRequested();
// Notes a request; what the handlers call (it is safe in a signal handler).
void requestStop();

}  // namespace sigcond::cli
