// How a screen model presents itself to the Qt layer: a window with named controls, menus and
// timers, each pointing into the screen's own struct. The Qt layer builds one widget per entry,
// draws the pointed-to data after every event, and forwards events by name (ui/events.h).
// Views are made fresh on demand (windowsOf), so the pointers never outlive the Program.
#pragma once

#include <string>
#include <vector>

#include "ui/controls.h"

namespace sigcond {

enum class ControlKind {
    Label,       // caption
    Button,      // caption; "&" marks the mnemonic
    TextBox,     // caption holds the text
    ListBox,     // lines + selected
    Frame,       // caption is the frame's title; children name it as parent
    PictureBox,  // lines printed top-down (each line must reach assistive technology)
    Image,       // caption names the picture resource
    Chart,       // values and titles in the ChartData of the window's screen
};

// What a chart control shows: the points in order and the two axis titles.
struct ChartData {
    std::vector<double> values;
    std::string valueAxisTitle;
    std::string bottomAxisTitle;
};

struct ControlView {
    std::string name;    // "Label4", "List1"
    int index = -1;      // control array index, -1 for a single control
    ControlKind kind = ControlKind::Label;
    Control* control = nullptr;
    std::string parent;  // name of the frame/picture holding it ("" = the window)
};

struct MenuView {
    std::string name;    // "INPF"
    std::string parent;  // top-level menu name, "" for a top-level menu
    MenuItem* item = nullptr;
    bool separator = false;
};

struct TimerView {
    std::string name;    // "Timer1"
    TimerControl* timer = nullptr;
};

struct WindowView {
    std::string name;    // "Form1"
    std::string* title = nullptr;
    bool* visible = nullptr;
    bool modal = false;  // shown by Dialogs::runModal
    int widthTwips = 0;
    int heightTwips = 0;
    Pointer* pointer = nullptr;
    std::string* focus = nullptr;  // "Command3" or "Text1(2)"; "" = leave the focus alone
    std::vector<ControlView> controls;
    std::vector<MenuView> menus;
    std::vector<TimerView> timers;
    ChartData* chart = nullptr;  // data of the window's Chart control, if it has one
};

}  // namespace sigcond
