// State of the live reading and live scaling.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "ui/controls.h"

namespace sigcond {

// Alarm colours of the live value labels (yellow on dark red), as 0xRRGGBB.
inline constexpr int kAlarmForeColour = 0xFFFF00;
inline constexpr int kAlarmBackColour = 0xC00000;

struct LiveState {
    int waitTicks = 0;           // pause counter after a burst of commands: 0 = poll this cycle,
                                 // 1..7 = quiet cycle (set to 1 after a transfer or burst)
    int liveStep = 0;            // live-scaling step: 0 none, 1 capturing Input 1, 2 Input 2
    double outputScale = 0.0;    // analog output = outputOffset + outputScale * reading
    double outputOffset = 0.0;
    int errorPanelShown = 0;     // the error panel holds a communication report
    int readingErrorShown = 0;   // a missing reply has been signalled once
    int displayOn = 0;           // the live display has been switched on

    // Full scale and unit text of the analog output in effect in the unit (20 / "  mA" for
    // current, 10 / "  Volt" for voltage); refreshed after a configuration read and after each
    // successful transfer.
    double unitOutputFullScale = 20.0;
    std::string unitOutputUnitText = "  mA";
    // Set when a configuration is sent: the output full scale of the configuration (20 or 10),
    // the input range factor (100000 / input full scale; none for "TC", "RTD", "FP") and the
    // decimals of the live display (resolution option - 1).
    double outputFullScale = 20.0;
    std::optional<double> rangeFactor;
    int displayDecimals = 0;

    // Design-time colours of Label4, taken when the main window loads; restored on each good
    // reading.
    int normalForeColour = kDefaultColour;
    int normalBackColour = kDefaultColour;

    int unityScalePending = 0;   // the next live cycle sends the unity scale and zero offset

    // Live readings captured for Input 1 / Input 2 (index 1 and 2; index 0 unused).
    // Empty = none captured (the "NL" mark); the encoder then uses the typed inputs.
    std::array<std::optional<double>, 3> capturedInput{};

    // Reading text of this cycle as Label4 shows it, without the line end or the trailing blank
    // of the display ("  12.34", "1.234"; "+999999" out of range, on either phase of the blink);
    // empty when the cycle had none.
    std::string shownReading;

    // Per-window blink and request flags (reset when the main window loads).
    int rangeBlink = 0;    // 0 = next out-of-range cycle shows blank, 1 = shows the value
    int errorBlink = 0;    // 0 = next missing-reply cycle shows "ERROR  ", 1 = blank
    int focusRequest = 0;  // an out-of-range reply took the focus away from the scaling box

    // Scaling panel and numeric entry.
    int scalingAccepted = 0;                  // result of the last confirmation: 1 = accepted
    int entryBox = 0;                         // box holding the entry being made (0..3)
    int focusedBox = 0;                       // box that last received the focus (0..3)
    std::array<std::string, 5> savedScalingText{};  // index 1..4, copied when the panel opens
    int normalBoxWidth = 1215;                // design width of the Text1 boxes (twips)
};

}  // namespace sigcond
