// The start-up screens and the port chooser, as data.
#pragma once

namespace sigcond {

struct StartScreens {};

}  // namespace sigcond
