// The start-up screens and the port chooser, as data. A screen that the operator leaves is
// hidden, not unloaded, so it keeps its state. Design-time captions and geometry are set by
// initStartScreens (ui/start_flow.h).
#pragma once

#include <array>
#include <string>

#include "ui/controls.h"

namespace sigcond {

// Design size of the splash screen; the other start-up screens centre their frame on an area of
// the splash screen's size.
inline constexpr int kSplashDesignWidth = 9720;
inline constexpr int kSplashDesignHeight = 7320;

// What every start-up window has besides its controls.
struct StartWindow {
    std::string title;
    bool loaded = false;  // shown once already; hiding keeps it loaded
    bool visible = false;
    int width = kSplashDesignWidth;
    int height = kSplashDesignHeight;
    Pointer pointer = Pointer::Arrow;
    std::string focus;
    TimerControl Timer1;  // 400 ms, fires once after the screen is shown, then switches off
};

// Form6: the splash screen, the program's first screen.
struct SplashScreen : StartWindow {
    Control Label1, Picture4, Command3, Command4;
};

// Form2: the welcome screen with the maker's identification; all controls are in Frame2.
struct WelcomeScreen : StartWindow {
    Control Frame2, Picture1, Label1, Label3, Label4, Command1, Command2, Command5;
};

// Form3: "Are you connecting SIGNAL CONDITIONER ?"; all controls are in Frame1.
struct QuestionScreen : StartWindow {
    Control Frame1, Label1, Label2, Command1, Command2;
    std::array<Control, 2> Command3{};  // "&Yes", "&No"
};

// Form4: the demo chooser (input type for work without a unit); all controls are in Frame1.
struct DemoChooserScreen : StartWindow {
    Control Frame1, Label2, List1, Command1, Command2;
};

// Form5: the serial port chooser; Frame1 holds the four port buttons. Its visibility is
// StartScreens::portChooserVisible.
struct PortChooserScreen : StartWindow {
    Control Frame1, Label2, Command1, Command2;
    std::array<Control, 4> Command3{};  // "Com &1" .. "Com &4"
};

struct StartScreens {
    SplashScreen splash;
    WelcomeScreen welcome;
    QuestionScreen question;
    DemoChooserScreen demo;
    PortChooserScreen portChooser;
    // The port chooser is on screen (the search stops when the operator cancels back to it).
    // This is the port chooser window's visibility flag.
    bool portChooserVisible = false;
    // The operator has ended the program (exit confirmed, or a window closed that ends it).
    bool ended = false;
};

}  // namespace sigcond
