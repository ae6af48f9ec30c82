// A main screen with a connected unit on a scripted port, as after the configuration was read:
// the bench of the live-reading and scaling tests.
#pragma once

#include <string>
#include <vector>

#include "config/option_catalogue.h"
#include "measure/live_cycle.h"
#include "program.h"
#include "sim/model/virtual_clock.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"

namespace sigcond::test {

struct LiveBench {
    sim::VirtualClock clock;
    ScriptedPort port{clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    explicit LiveBench(const std::string& inputType = "TC") {
        port.setLineSettings("9600,O,7,1");
        port.open();
        p.config.inputType = inputType;
        buildOptionCatalogue(p);
        refreshDerivedLabels(p);
        p.screen.unitConnected = 1;
        p.transfer.unitIdentified = 1;
        p.live.displayOn = 1;
        p.form1.Frame9.visible = true;
        p.form1.Picture2.visible = false;
        p.form1.Text1[1].width = 1215;
        p.form1.Timer1.enabled = true;
        p.live.outputScale = 1.0;
        p.live.outputOffset = 0.0;
    }

    // One Timer1 tick.
    void tick() { liveReadingCycle(p); }
    // One tick answered with the reading text.
    void tickWith(const std::string& reading) {
        port.reply("X01" + reading + "\r");
        tick();
    }
    // One tick with a silent unit.
    void tickSilent() {
        port.silence();
        tick();
    }
    // Commands sent from the given frame on.
    std::vector<std::string> commandsFrom(std::size_t first) const {
        std::vector<std::string> all = port.commands();
        if (first >= all.size()) return {};
        return {all.begin() + static_cast<long>(first), all.end()};
    }
};

}  // namespace sigcond::test
