// The analog output scaling panel (Frame2) of the main window: opening and laying it out,
// confirming an entry with its checks, and its OK and Cancel buttons.
#pragma once

namespace sigcond {

struct Program;

inline constexpr const char* kScalingHint = "\"CLICK\"  INDIVIDUAL BOX TO CHANGE  INPUT, OUTPUT.  ";
inline constexpr const char* kScalingFrameTitle = " Analog output scaling  :";
inline constexpr int kNavyColour = 0x000080;

// Menu ANA1 "Analog output scaling ".
void analogOutputScalingMenu(Program& p);
// Opens the panel: commits a pending option panel, returns to the summary, lays the panel out
// with the record's scaling texts and keeps a copy of them for Cancel.
void openScalingPanel(Program& p);
// Boxes, captions, unit labels and widths of the panel.
void layOutScalingPanel(Program& p);
// Confirms the entry in box entryBox (Enter in a box, or the OK button): checks, stores the
// box's text, and moves live scaling on.
void applyScalingEntry(Program& p);
// Command4 "&OK": checks all four values; when accepted closes the panel and offers to send.
void scalingOk(Program& p);
// Command6 "&Cancel": the boxes return to the texts they had when the panel opened.
void scalingCancel(Program& p);

}  // namespace sigcond
