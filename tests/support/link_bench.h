// A program object wired to a scripted port, scripted dialogs and a virtual clock: the bench
// on which link, connection and transfer tests run.
#pragma once

#include "program.h"
#include "sim/model/virtual_clock.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"

namespace sigcond::test {

struct LinkBench {
    sim::VirtualClock clock;
    ScriptedPort port{clock};
    ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    // An open port at 9600,O,7,1 with the link tables filled, as after a successful search.
    LinkBench();
    double now() { return clock.monotonicSeconds(); }
};

}  // namespace sigcond::test
