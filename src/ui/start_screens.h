// The start-up screens and the port chooser, as data.
#pragma once

namespace sigcond {

struct StartScreens {
    // The port chooser is on screen (the search stops when the operator cancels back to it).
    bool portChooserVisible = false;
};

}  // namespace sigcond
