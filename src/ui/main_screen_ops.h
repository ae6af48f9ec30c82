// Operations of the main configuration screen (Form1) that the other subsystems use: loading
// and unloading the screen, the status banner, the return to the summary view, the option
// panels' commit, and scheduling long work on the deferred-action timer Timer2.
#pragma once

#include <string>

namespace sigcond {

struct Program;

inline constexpr const char* kMainWindow = "Form1";

// Top (twips) of the panels that open below the live values: the option panels, the scaling
// panel, the send summary and the error panel.
inline constexpr int kPanelTop = 2760;

// Deferred actions run by Timer2 (runLater).
inline constexpr int kActionLayout = 0;
inline constexpr int kActionSend = 1;
inline constexpr int kActionPrint = 2;
inline constexpr int kActionRead = 3;
inline constexpr int kActionLargeScreen = 4;

// The question asked after a change, when a unit is connected.
inline constexpr const char* kSendQuestion =
    "Do you want to send configuration to the unit now  ?\r(You can send later)";

// Design-time state of Form1 (captions, geometry, menus, timers).
void initMainScreen(Program& p);
// Loads Form1 afresh: design-time state, link reset, menus for the mode, banner, Timer2 on.
void loadMainScreen(Program& p);
// Unloads Form1 (closes the serial port). Unless leavingToStart is 1 the program ends.
void unloadMainScreen(Program& p);
// Unloads Form1 if it is loaded (on the way back to the start-up screens) and loads it afresh.
void reloadMainScreen(Program& p);

// Shows a one-line status text in Label3 (116 twips per character, font size 10).
void showBanner(Program& p, const std::string& text);
// Closes every option panel and returns Form1 to its summary view; a live scaling in progress
// ends there and the readings it captured are forgotten.
void backToSummary(Program& p);
// Sets deferredAction and enables Timer2; the action runs on its next tick.
void runLater(Program& p, int action);
// One tick of Timer2: runs deferredAction (see deferred_actions.cpp).
void timer2Tick(Program& p);

// Copies the open option panel's selections into the configuration record (group
// uncommittedGroup); sets changePending when a choice changed.
void commitOpenPanel(Program& p);
// If a panel holds uncommitted selections, commits it; then uncommittedGroup = 0.
void commitPendingPanel(Program& p);
// Builds and shows the option panel of currentGroup (Frame4 for groups 1 and 2, the list of
// Frame7 for groups 3 and 7); sets uncommittedGroup.
void buildGroupPanel(Program& p);
// Asks the send question when a unit is connected and changePending is 1; Yes sends.
void offerToSend(Program& p);

// Menus and the summary after the configuration was read (or prepared in demo work).
void enableMenusAfterRead(Program& p);
void refreshSummary(Program& p);
// The values of the summary lines (filter, resolution, gate and debounce time) from the record,
// so they follow a configuration that was changed and sent, or loaded from a file.
void refreshSummaryValues(Program& p);

}  // namespace sigcond
