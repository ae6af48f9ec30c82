// The operator's events as the Qt layer forwards them to the core, by window and control name.
#pragma once

#include <string>
#include <vector>

#include "ui/window_model.h"

namespace sigcond {

struct Program;

enum class EventKind {
    Click,         // button, menu item, list line (selected holds the line)
    DoubleClick,   // list line
    Change,        // text box text changed by the operator (text), list selection (selected)
    KeyPress,      // keyAscii; a handler sets keyAscii to 0 to reject the key
    GotFocus,
    LostFocus,
    Tick,          // a timer fired; control is the timer's name
    CloseRequest,  // the window's close box; a handler sets accepted = false to keep it open
    Resize,        // the window was resized (widthTwips/heightTwips)
};

struct ScreenEvent {
    std::string window;   // "Form1"
    std::string control;  // "Command9", "INPF", "Timer2", "" for the window itself
    int index = -1;       // control array index
    EventKind kind = EventKind::Click;
    int keyAscii = 0;
    std::string text{};
    int selected = -1;
    int widthTwips = 0;
    int heightTwips = 0;
    bool accepted = true;
};

// Runs the core's handler for the event (if any). The Qt layer then redraws every window.
void dispatchEvent(Program& p, ScreenEvent& event);

// Every window of the program, described for drawing.
std::vector<WindowView> windowsOf(Program& p);

// True once the operator has ended the program (exit confirmed, or the last window closed).
bool programEnded(const Program& p);

}  // namespace sigcond
