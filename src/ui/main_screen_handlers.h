// Handlers of Form1's own buttons, menus and window events (dispatched by event_dispatch.cpp).
#pragma once

namespace sigcond {

struct Program;
struct ScreenEvent;

// Leaving the window.
void command5Click(Program& p);   // "&Click here to cancel" / "&Click here to continue"
void command8Click(Program& p);   // "&Previous page"
void command15Click(Program& p);  // "&Exit"
void extsClick(Program& p);       // File > "Exit"
void form1Close(Program& p);      // the close box

// Menus.
void cnfClick(Program& p);    // the Configuration menu opens
void filesClick(Program& p);  // the File menu opens
void openGroupMenu(Program& p, int group);  // INPF 1, IOCF 2, FILTER 3, RESOL 7

// Option panel buttons and lists.
void command9Click(Program& p);   // "&OK" of the group panel
void command10Click(Program& p);  // "&Cancel" of the group panel
void command11Click(Program& p);  // "&Cancel" of the single-list panel
void command12Click(Program& p);  // "&OK" of the single-list panel
// A line of List1(index) picked while an option panel is open.
void optionListClick(Program& p, int index, int line);

// Deferred actions of Timer2 that the main screen owns.
void layoutAction(Program& p);      // 0
void readAction(Program& p);        // 3
void largeScreenAction(Program& p); // 4

}  // namespace sigcond
