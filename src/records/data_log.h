// Data logging: the sampling-rate window samplingfrm, starting and stopping the log from the
// main window's menu, and the logging step the live-reading cycle runs on every cycle.
#pragma once

#include <array>
#include <string>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/window_model.h"

namespace sigcond {

struct Program;

inline constexpr const char* kTooManyDigits = "You can not enter more than 2 digits";
inline constexpr const char* kAtLeastOneSecond = "You must enter at least 1 second";
inline constexpr const char* kTurnOffLoggingQuestion = "Do you want to turn off data logging ?";

// samplingfrm: the sampling interval as hours, minutes and seconds.
struct SamplingWindow {
    bool visible = false;
    std::string title = "Sampling Rate";
    std::string focus;
    int left = 0;  // twips, placed on the main window when shown
    int top = 0;
    int width = 4200;
    int height = 2200;
    Control Label1;                  // "Sampling Rate :"
    std::array<Control, 3> Label2{}; // "Hr", "Min", "Sec"
    std::array<Control, 3> Text1{};  // hours, minutes, seconds
    std::array<Control, 2> Command1{};  // "&OK", "&Cancel"
};

// Fresh samplingfrm ("0", "0", "1"), placed on the main window, visible.
void loadSamplingWindow(Program& p);
// Key rule of the three boxes; sets event.keyAscii to 0 for a dropped key.
void samplingKeyPress(Program& p, int box, int& keyAscii);
void samplingOk(Program& p);
void samplingCancel(Program& p);
void samplingWindowEvent(Program& p, ScreenEvent& event);
WindowView samplingWindowView(Program& p);

// The record of one sample, CR LF included: reading (without its last character), unit text,
// ten blanks, time, blanks to the next 14-column print zone, date.
std::string logRecord(const std::string& readingText, const std::string& unitText,
                      const std::string& timeOfDay, const std::string& date);

// "     Log Data &on": file, interval, then records from the live-reading cycle.
void startLogging(Program& p);
// "     Log Data o&ff": asks, then stops writing (the file stays open).
void stopLogging(Program& p);
// Run by the live-reading cycle after the reading is shown; writes a record when the
// countdown expires, otherwise blinks the indicator and counts down. A write failure stops
// logging and tells the operator; the records already written stay in the file.
void loggingStep(Program& p);

}  // namespace sigcond
