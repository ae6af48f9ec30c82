#include <cstdio>

#include "sim/app/serve_pty.h"

namespace sigcond::sim {

int servePseudoTerminals(const std::vector<SimOptions>&,
                         const std::vector<std::unique_ptr<UnitModel>>&, int, Requests&) {
    std::fputs(
        "sigcond-unit-sim: Windows has no pseudo-terminals: serve the unit on a TCP port "
        "with --listen HOST:PORT (e.g. --listen 127.0.0.1:5000) and point the program at "
        "socket://HOST:PORT\n",
        stderr);
    return 2;
}

}  // namespace sigcond::sim
