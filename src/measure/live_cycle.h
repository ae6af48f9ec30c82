// The live-reading cycle run by Form1's Timer1 every 450 ms while a unit is connected: banner
// countdown, live scaling's unity-scale burst, the quiet cycles after a burst, the "X01"
// reading with its over-range, out-of-range and missing-reply states, the output value, the
// trend point, the data log and the capture step of live scaling.
#pragma once

#include <string>

namespace sigcond {

struct Program;

inline constexpr int kLiveTimerMs = 450;
// waitTicks counts from 1 to this value; the cycles in between send nothing.
inline constexpr int kQuietCycleEnd = 8;
inline constexpr const char* kErrorReading = "ERROR  ";

// One cycle (the Timer1 tick). A fault inside one step never stops the cycle or the timer.
void liveReadingCycle(Program& p);

// Takes Label4's colours as the normal colours of the two live value labels (main window load).
void takeNormalLabelColours(Program& p);

}  // namespace sigcond
