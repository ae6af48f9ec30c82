// State of the live reading and live scaling.
#pragma once

namespace sigcond {

struct LiveState {
    int waitTicks = 0;           // quiet cycles left after a burst of commands
    int liveStep = 0;            // live-scaling step, 0 = none in progress
    double outputScale = 0.0;    // analog output = outputOffset + outputScale * reading
    double outputOffset = 0.0;
    int errorPanelShown = 0;     // the error panel holds a communication report
    int readingErrorShown = 0;
    int displayOn = 0;
};

}  // namespace sigcond
