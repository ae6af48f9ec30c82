// Entry of the analog output scaling values in the boxes Text1(0..3).
#pragma once

namespace sigcond {

struct Program;

// Abandons the entry in progress: the scaling boxes (or the open option panel's lists) go back
// to what the configuration record holds, and live scaling ends.
void abandonEntry(Program& p);

}  // namespace sigcond
