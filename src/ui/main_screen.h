// Form1, the main configuration screen, as data. Control names are the screen's own; each
// subsystem reads and changes the controls it owns (see docs/architecture.md).
#pragma once

#include <array>
#include <string>

#include "config/send_config_screen.h"
#include "ui/controls.h"

namespace sigcond {

struct MainScreen {
    bool loaded = false;  // loaded = on screen (the window is unloaded, never just hidden)
    int width = 12000;    // twips
    int height = 9240;
    std::string title = "SIGNAL  CONDITIONER  CONFIGURATION  PROGRAM";
    Pointer pointer = Pointer::Arrow;
    // Name of the control that should have the keyboard focus ("" = leave it).
    std::string focus;

    // Live summary line.
    Control Frame9, Label5, Label4, Label13, Label15, Label7, Label16;
    // Multi-item option panel (groups 1 and 2) and single-list panel (groups 3 and 7).
    Control Frame4, Command9, Command10;
    Control Frame7, Command12, Command11;
    std::array<Control, 9> List1{};
    std::array<Control, 9> Label1{};
    // Navigation strip and logo.
    Control Frame6, Picture5, Command8, Command15, Label2;
    // Banner, hints, logging indicator, busy notice.
    Control Label3, Label10, Label24, Image1, Label11, Label6;
    // Error panel, its button, and the reading-error panel.
    Control Picture1, Command5, Picture2;
    // Settings summary.
    // Index 0 holds the line's caption, index 1 its value. Label28 is the gate time line.
    std::array<Control, 2> LABEL17{}, LABEL18{}, Label29{}, Label28{};
    // Model line "MODEL  :  " + input type name.
    Control Label9;
    // Analog output scaling panel.
    Control Frame2, Frame8, Command4, Command6, Command7, Text2;
    std::array<Control, 4> Text1{}, Label8{}, Label14{};
    // Takes the focus while live values are shown.
    Control Command3;
    // Send summary.
    Control Frame5, Command14, Command13, Picture4;
    SendSummaryControls sendSummary;  // the summary inside Frame5 (config/send_config_screen.h)

    // Menus.
    MenuItem FILES, LDCNF, SAVECF, HHP, PRT, HP1, EXTS;
    MenuItem CNF, INPF, IOCF, FILTER, RESOL, ANA1, ANA2, GATE, DEBT;
    MenuItem DISP, DISPOF, VW, GRA, logdata, Logdat, unlogdat;

    TimerControl Timer1, Timer2;
};

}  // namespace sigcond
