// A run without a screen stops when it is asked to (Ctrl+C, SIGINT, SIGTERM) at whatever step
// it is: the request is noted here, and every session's port and search look at it.
#pragma once

namespace sigcond::cli {

// Catches SIGINT and SIGTERM from now on; each only notes the request.
void installStopHandlers();
bool stopRequested();

}  // namespace sigcond::cli
