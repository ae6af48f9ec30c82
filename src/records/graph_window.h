// Form9, the trend graph window, and the trend buffer's collection step.
#pragma once

#include <string>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/window_model.h"

namespace sigcond {

struct Program;

inline constexpr const char* kGraphBottomTitle = "second(s)";

struct GraphWindow {
    bool visible = false;
    std::string title;
    int width = 9000;  // twips; follows the operator's resizing
    int height = 6000;
    Control Frame1, Graph1;  // the frame holding the chart, the chart
    Control Command1;        // "&Go back"
    Control Command2;        // "&Redraw"
    TimerControl Timer1;     // the resize rule, 200 ms
    ChartData chart;         // what Graph1 shows
    int rememberedWidth = 0;
    int rememberedHeight = 0;
};

// Stores the numeric value of the reading text as the newest trend point (26 kept).
void appendTrendPoint(Program& p, const std::string& readingText);

// "     &Graph": takes the unit text from Label13 and shows Form9 (modeless).
void openGraph(Program& p);
// Loads Form9 from the trend buffer: points, titles, caption. The buffer is not changed.
void loadGraphWindow(Program& p);
// Closes Form9 ("&Go back", and when the main window goes back to the start screens).
void closeGraphWindow(Program& p);
// Form9's Timer1: the chart and the buttons follow a change of the window's size.
void graphResizeTick(Program& p);
void graphWindowEvent(Program& p, ScreenEvent& event);
WindowView graphWindowView(Program& p);

}  // namespace sigcond
