// A program object wired to the simulated unit (in-process port on a virtual clock) and
// scripted dialogs, with helpers that walk the start-up screens the way an operator does.
#pragma once

#include <string>
#include <vector>

#include "program.h"
#include "sim/model/simulated_port.h"
#include "sim/model/unit_model.h"
#include "sim/model/virtual_clock.h"
#include "support/scripted_dialogs.h"
#include "ui/events.h"
#include "ui/start_flow.h"

namespace sigcond::test {

struct UiBench {
    sim::VirtualClock clock;
    sim::UnitModel unit{sim::UnitType::TC};
    sim::SimulatedPort port{unit, clock};
    ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};

    UiBench() { startProgram(p); }

    // Sends an event through the dispatch table, as the Qt layer does.
    ScreenEvent send(const std::string& window, const std::string& control,
                     EventKind kind = EventKind::Click, int index = -1, int selected = -1) {
        ScreenEvent e;
        e.window = window;
        e.control = control;
        e.kind = kind;
        e.index = index;
        e.selected = selected;
        dispatchEvent(p, e);
        return e;
    }
    void tick(const std::string& window, const std::string& timer) {
        send(window, timer, EventKind::Tick);
    }

    // Splash -> welcome -> question.
    void toQuestion() {
        send("Form6", "Command3");
        send("Form2", "Command1");
    }
    // ... -> "&Yes" -> "Com &n": the main screen loads for a connected unit.
    void connectOn(int port) {
        toQuestion();
        send("Form3", "Command3", EventKind::Click, 0);
        send("Form5", "Command3", EventKind::Click, port - 1);
    }
    // ... -> "&No" -> a line of the demo chooser.
    void demoWith(int line) {
        toQuestion();
        send("Form3", "Command3", EventKind::Click, 1);
        send("Form4", "List1", EventKind::Click, -1, line);
    }
    // Runs Timer2 until it stops (at most `limit` ticks); returns the ticks run.
    int runStartUp(int limit = 5) {
        int ticks = 0;
        while (p.form1.loaded && p.form1.Timer2.enabled && ticks < limit) {
            tick("Form1", "Timer2");
            ++ticks;
        }
        return ticks;
    }
    // The commands the unit received, without the line settings.
    std::vector<std::string> commands() const {
        std::vector<std::string> out;
        for (const auto& f : unit.frames()) out.push_back(f.frame);
        return out;
    }
};

// Demo-chooser line of each input type.
inline int demoLineOf(const std::string& type) {
    const char* order[] = {"TC", "RTD", "PR", "ST", "ACV", "ACC", "FP"};
    for (int i = 0; i < 7; ++i) {
        if (type == order[i]) return i;
    }
    return -1;
}

}  // namespace sigcond::test
