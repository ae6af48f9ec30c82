// The rules of the analog output scaling that need no screen: the checks of a confirmed entry
// with their messages, and the unity scale code of live scaling.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sigcond {

enum class ScalingFault { None, Range, Span, SameOutputs };

struct ScalingCheck {
    ScalingFault fault = ScalingFault::None;
    std::string message;  // the operator's message for the fault, "" when none
};

// Title of the message box that reports a scaling fault.
inline constexpr std::string_view kScalingErrorTitle = "INPUT ERROR !";

// Checks the four box texts (Input 1, Desired output 1, Input 2, Desired output 2) in order:
// desired outputs above the full scale (or negative, when checked from the Desired output 1
// box outside step 1 of live scaling), inputs closer than 0.1, equal desired outputs. The last
// two are checked only from the Desired output 1 box (Enter there, or the OK button) and not in
// step 1 of live scaling. input1Caption/input2Caption are the captions of Label8(0)/Label8(2).
ScalingCheck checkScalingEntry(const std::array<std::string, 4>& boxText, double outputFullScale,
                               const std::string& outputUnitText, bool fromDesiredOutput1,
                               int liveStep, const std::string& input1Caption,
                               const std::string& input2Caption);

// Register value of the output scale "1" for live scaling: the output full scale per input
// full scale, as an exponent digit d and a 5-digit hex mantissa m (value m / 10^(d - 1)).
// rangeFactor is 100000 / input full scale (unused for "TC" and "RTD"). "" for "FP", which
// has no unity scale, and for a type or factor that gives no usable scale.
std::string unityScaleCode(std::string_view inputType, double outputFullScale, double rangeFactor);

// Value of a scale register text: m / 10^(d - 1).
double scaleCodeValue(std::string_view code);

}  // namespace sigcond
