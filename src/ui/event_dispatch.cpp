// dispatchEvent: the table from (window, control, event kind) to the core's handler. Adding a
// handler is one row. A row with control "*" takes every event of its kind for the window, a row
// with kind std::nullopt every kind; the first matching row wins.
#include <iterator>
#include <optional>

#include "config/send_config.h"
#include "measure/display_menu.h"
#include "measure/live_cycle.h"
#include "measure/live_scaling.h"
#include "measure/scaling_panel.h"
#include "program.h"
#include "records/config_file.h"
#include "records/print_report.h"
#include "ui/gate_debounce_entry.h"
#include "records/data_log.h"
#include "records/file_chooser.h"
#include "records/graph_window.h"
#include "ui/events.h"
#include "ui/main_screen_handlers.h"
#include "ui/main_screen_ops.h"
#include "ui/numeric_entry.h"
#include "ui/start_flow.h"

namespace sigcond {

namespace {

using Handler = void (*)(Program&, ScreenEvent&);

struct Route {
    const char* window;
    const char* control;
    std::optional<EventKind> kind;
    Handler handler;
};

// Adapters so that plain handlers fit the table.
template <void (*F)(Program&)>
void plain(Program& p, ScreenEvent&) {
    F(p);
}
template <void (*F)(Program&, int)>
void byIndex(Program& p, ScreenEvent& e) {
    F(p, e.index);
}
template <int Group>
void openGroup(Program& p, ScreenEvent&) {
    openGroupMenu(p, Group);
}
void nothing(Program&, ScreenEvent&) {}

void demoListClick(Program& p, ScreenEvent& e) { demoPick(p, e.selected); }
void mainListClick(Program& p, ScreenEvent& e) { optionListClick(p, e.index, e.selected); }

// The close box of a start-up window ends the program (the other windows are hidden, so the
// program would otherwise run on with nothing on screen).
void startWindowClose(Program& p, ScreenEvent&) { endProgram(p); }

// The operator resized a window: its model follows (the layout timers use the sizes).
void resizeWindow(Program& p, ScreenEvent& e) {
    if (e.widthTwips <= 0 || e.heightTwips <= 0) return;
    StartWindow* windows[] = {&p.start.splash, &p.start.welcome, &p.start.question,
                              &p.start.demo, &p.start.portChooser};
    const char* names[] = {kSplashWindow, kWelcomeWindow, kQuestionWindow, kDemoWindow,
                           kPortChooserWindow};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        if (e.window == names[i]) {
            windows[i]->width = e.widthTwips;
            windows[i]->height = e.heightTwips;
        }
    }
    if (e.window == kMainWindow) {
        p.form1.width = e.widthTwips;
        p.form1.height = e.heightTwips;
    }
}

using K = EventKind;

const Route kRoutes[] = {
    // Splash screen.
    {"Form6", "Command3", K::Click, plain<splashContinue>},
    {"Form6", "Command4", K::Click, plain<confirmExitFromStart>},
    {"Form6", "Timer1", K::Tick, plain<splashTimer>},
    {"Form6", "", K::CloseRequest, startWindowClose},
    // Welcome screen.
    {"Form2", "Command1", K::Click, plain<welcomeContinue>},
    {"Form2", "Command2", K::Click, plain<welcomePrevious>},
    {"Form2", "Command5", K::Click, plain<confirmExitFromStart>},
    {"Form2", "Timer1", K::Tick, plain<welcomeTimer>},
    {"Form2", "", K::CloseRequest, startWindowClose},
    // Question screen.
    {"Form3", "Command3", K::Click, byIndex<questionAnswer>},
    {"Form3", "Command1", K::Click, plain<questionPrevious>},
    {"Form3", "Command2", K::Click, plain<confirmExitFromStart>},
    {"Form3", "Timer1", K::Tick, plain<questionTimer>},
    {"Form3", "", K::CloseRequest, startWindowClose},
    // Demo chooser.
    {"Form4", "List1", K::Click, demoListClick},
    {"Form4", "Command1", K::Click, plain<demoPrevious>},
    {"Form4", "Command2", K::Click, plain<confirmExitFromStart>},
    {"Form4", "Timer1", K::Tick, plain<demoTimer>},
    {"Form4", "", K::CloseRequest, startWindowClose},
    // Port chooser.
    {"Form5", "Command3", K::Click, byIndex<portPick>},
    {"Form5", "Command1", K::Click, plain<portPrevious>},
    {"Form5", "Command2", K::Click, plain<confirmExitFromStart>},
    {"Form5", "Timer1", K::Tick, plain<portTimer>},
    {"Form5", "", K::CloseRequest, startWindowClose},

    // Main screen: timers.
    {"Form1", "Timer2", K::Tick, plain<timer2Tick>},
    // Main screen: leaving.
    {"Form1", "Command5", K::Click, plain<command5Click>},
    {"Form1", "Command8", K::Click, plain<command8Click>},
    {"Form1", "Command15", K::Click, plain<command15Click>},
    {"Form1", "EXTS", K::Click, plain<extsClick>},
    {"Form1", "", K::CloseRequest, plain<form1Close>},
    // Main screen: menus.
    {"Form1", "CNF", K::Click, plain<cnfClick>},
    {"Form1", "FILES", K::Click, plain<filesClick>},
    {"Form1", "INPF", K::Click, openGroup<1>},
    {"Form1", "IOCF", K::Click, openGroup<2>},
    {"Form1", "FILTER", K::Click, openGroup<3>},
    {"Form1", "RESOL", K::Click, openGroup<7>},
    {"Form1", "Label6", K::Click, nothing},
    // Main screen: option panels.
    {"Form1", "Command9", K::Click, plain<command9Click>},
    {"Form1", "Command10", K::Click, plain<command10Click>},
    {"Form1", "Command11", K::Click, plain<command11Click>},
    {"Form1", "Command12", K::Click, plain<command12Click>},
    {"Form1", "List1", K::Click, mainListClick},
    {"Form1", "GATE", K::Click, plain<onGateTimeMenu>},
    {"Form1", "DEBT", K::Click, plain<onDebounceTimeMenu>},
    // Main screen: sending.
    {"Form1", "VW", K::Click, plain<showSendSummary>},
    {"Form1", "Command14", K::Click, plain<sendConfiguration>},
    {"Form1", "Command13", K::Click, plain<cancelSendSummary>},
    // Main screen: files, printing, graph and data log.
    {"Form1", "LDCNF", K::Click, plain<loadConfiguration>},
    {"Form1", "SAVECF", K::Click, plain<saveConfiguration>},
    {"Form1", "PRT", K::Click, plain<printClick>},
    {"Form1", "GRA", K::Click, plain<openGraph>},
    {"Form1", "Logdat", K::Click, plain<startLogging>},
    {"Form1", "unlogdat", K::Click, plain<stopLogging>},
    // Main screen: live reading, display, analog output scaling and live scaling.
    {"Form1", "Timer1", K::Tick, plain<liveReadingCycle>},
    {"Form1", "DISP", K::Click, plain<displayMenu>},
    {"Form1", "DISPOF", K::Click, plain<displayOnOff>},
    {"Form1", "ANA1", K::Click, plain<analogOutputScalingMenu>},
    {"Form1", "Command4", K::Click, plain<scalingOk>},
    {"Form1", "Command6", K::Click, plain<scalingCancel>},
    {"Form1", "Command7", K::Click, plain<startLiveScaling>},
    {"Form1", "Command3", K::Click, nothing},
    {"Form1", "Text1", K::GotFocus, byIndex<text1GotFocus>},
    {"Form1", "Text1", K::KeyPress,
     [](Program& p, ScreenEvent& e) { text1KeyPress(p, e.index, e.keyAscii); }},
    {"Form1", "Text1", K::Change,
     [](Program& p, ScreenEvent& e) { text1Change(p, e.index, e.text); }},
    {"Form1", "Text1", K::Click, nothing},

    // Windows that handle all their own events.
    {"Form8", "*", std::nullopt, fileChooserEvent},
    {"Form9", "*", std::nullopt, graphWindowEvent},
    {"samplingfrm", "*", std::nullopt, samplingWindowEvent},

    // Any other window: size changes.
    {"*", "", K::Resize, resizeWindow},
};

bool matches(const Route& r, const ScreenEvent& e) {
    const std::string_view window = r.window;
    const std::string_view control = r.control;
    return (window == "*" || window == e.window) && (control == "*" || control == e.control) &&
           (!r.kind || *r.kind == e.kind);
}

}  // namespace

void dispatchEvent(Program& p, ScreenEvent& event) {
    if (p.start.ended) return;
    for (const Route& route : kRoutes) {
        if (matches(route, event)) {
            route.handler(p, event);
            return;
        }
    }
}

}  // namespace sigcond
