#include "support/link_bench.h"

#include "link/command_set.h"

namespace sigcond::test {

LinkBench::LinkBench() {
    fillLinkTables(p);
    resetLinkState(p);
    port.setPortNumber(1);
    port.setLineSettings("9600,O,7,1");
    port.open();
    p.link.lineSettings = "9600,O,7,1";
}

}  // namespace sigcond::test
