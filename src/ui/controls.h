// The building blocks of every screen model: what the operator sees of one control.
// The core changes these; the Qt layer draws them and forwards the operator's events.
#pragma once

#include <string>
#include <vector>

namespace sigcond {

// Colours as 0xRRGGBB; kDefaultColour leaves the platform's own colour.
inline constexpr int kDefaultColour = -1;

// A label, button, text box, list box, frame, picture box or image. Which fields matter
// depends on the kind; geometry is in twips (1/1440 inch), 0 meaning "as laid out".
struct Control {
    std::string caption;  // caption of a label/button/frame, text of a text box
    bool visible = true;
    bool enabled = true;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int foreColour = kDefaultColour;
    int backColour = kDefaultColour;
    int fontSize = 0;  // points; 0 = the window's font
    bool bold = false;
    std::vector<std::string> lines;  // list lines, or the lines printed into a picture box
    int selected = -1;               // list selection (0-based), -1 = none
    std::string tooltip;
};

struct MenuItem {
    std::string caption;
    bool visible = true;
    bool enabled = true;
};

struct TimerControl {
    bool enabled = false;
    int intervalMs = 0;
};

// Mouse pointer shapes the program asks for.
enum class Pointer { Arrow, Hourglass };

}  // namespace sigcond
