// Reading the configuration from the unit once per load of the main screen (deferred action 3):
// connect and identify, build the catalogue of the identified type, read the registers in
// their fixed order, decode them and refresh the main screen. In demo work only the catalogue
// of the type chosen on the demo chooser is built.
#pragma once

#include <string>

namespace sigcond {

struct Program;

// Leaves p.transfer.readSucceeded = 1 when the read (or the demo preparation) ran to its end.
// Failures are reported on the main screen's error panel; linkError is 0 after a failed
// register read, 1 after a search without an answer or a port that could not be used.
void readConfiguration(Program& p);

// True when the record's input is ratiometric ("PR" item 3 or "ST" item 2 of group 1 on
// option 2): readings are then shown in " %".
bool ratiometricInput(const Program& p);

}  // namespace sigcond
