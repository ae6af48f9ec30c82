// The contents of the send summary frame Frame5 "Configuration" (between its fixed parts, the
// buttons Command14 "&Send" and Command13 "&Cancel"), as data. showSendSummary fills it; the
// Qt layer draws it through the views listed by appendSendSummaryViews. Positions are twips
// inside the picture box Picture4 of Frame5, which holds them all.
#pragma once

#include <array>
#include <vector>

#include "ui/controls.h"
#include "ui/window_model.h"

namespace sigcond {

struct SendSummaryControls {
    // Groups 1 and 2 (index 0 and 1): the group's heading, its item captions (one line per
    // item) and, in a column to their right, the captions of the chosen options.
    std::array<Control, 2> heading{}, items{}, choices{};
    // Analog output scaling: the heading, then caption, value text and unit of Input 1,
    // Desired output 1, Input 2, Desired output 2 (index 0..3).
    Control scalingHeading;
    std::array<Control, 4> scalingCaption{}, scalingValue{}, scalingUnit{};
    // Caption (index 0) and value (index 1) of the filter, the resolution, and for
    // frequency/pulse units the debounce time and the gate time.
    std::array<Control, 2> filter{}, resolution{}, debounce{}, gate{};
};

// Views of the summary's controls, all inside Picture4 (in Frame5), for the window registry.
void appendSendSummaryViews(SendSummaryControls& summary, std::vector<ControlView>& views);

}  // namespace sigcond
