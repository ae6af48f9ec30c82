// Live scaling: the two points of the analog output scaling taken from live readings. Started
// by the scaling panel's Command7; run inside the live-reading cycle (unity-scale burst,
// capture step) and the confirmation of the scaling entries (step confirmation).
#pragma once

#include <string>

namespace sigcond {

struct Program;

inline constexpr const char* kUnityScaleTitle = "SCALE AND OFFSET";

// Command7 "\"&Live\" scaling": sends the options on screen (not the scaling) and starts.
void startLiveScaling(Program& p);
// The common start: Timer1 on, step 1, the unity-scale question (not for "FP"), "Z01" on No.
void beginLiveScaling(Program& p);
// The question asked by beginLiveScaling for the current type and output.
std::string unityScaleQuestion(const Program& p);
// Scale register text "1" for the current type and the output shown on screen ("" for "FP").
std::string unityScaleCodeFor(const Program& p);

// The unity-scale burst of the live-reading cycle: offset 0, scale 1, "Z01"; each value takes
// effect on the live output once the unit has confirmed its write. False when the unit did not
// answer: Timer1 is then off and the request is dropped with the abandoned live scaling.
bool runUnityScaleBurst(Program& p);
// Capture step of the live-reading cycle for a good reading: the reading fills the step's
// input box and becomes the captured input of the step.
void captureLiveInput(Program& p, double reading);
// Step confirmation, after applyScalingEntry has stored the step's desired output.
void confirmLiveStep(Program& p, bool checksPassed);

}  // namespace sigcond
