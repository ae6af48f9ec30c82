// The Display menu of the main window: DISP returns to the summary view, DISPOF switches the
// live display (Frame9) on and off while the live reading goes on.
#pragma once

namespace sigcond {

struct Program;

// Menu DISP "    &Display": commits an open option panel, then the summary view.
void displayMenu(Program& p);
// Menu DISPOF "Display  (On/Off)": error report 5 in demo work; otherwise toggles Frame9.
void displayOnOff(Program& p);

}  // namespace sigcond
