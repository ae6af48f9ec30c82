// Serving the units on pseudo-terminals, where the system has them (serve_pty_posix.cpp);
// elsewhere (serve_pty_win.cpp) the program says to use --listen instead.
#pragma once

#include <memory>
#include <vector>

#include "sim/app/requests.h"
#include "sim/model/sim_options.h"

namespace sigcond::sim {

// Serves each unit on a pseudo-terminal of its own, its device path printed first (one line
// each), until a stop is requested. The exit status: 0 after a stop, 1 when a pseudo-terminal,
// link or log cannot be made, 2 where there are no pseudo-terminals.
int servePseudoTerminals(const std::vector<SimOptions>& units,
                         const std::vector<std::unique_ptr<UnitModel>>& models, int noiseFrom,
                         Requests& requests);

}  // namespace sigcond::sim
