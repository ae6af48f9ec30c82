// Opening the chosen serial port and finding the unit's line settings.
#pragma once

namespace sigcond {

struct Program;

// Opens port p.link.portNumber and tries the fifteen baud/parity settings in order with
// "U01" until the unit answers with "U". Yields to screen events once per attempt and stops
// at once, silently, when the operator cancelled back to the port chooser.
// Found: identifyMode off, unitIdentified 1, replyText = the two-digit type code, linkError 0,
// the port stays at the found settings (p.link.lineSettings). Returns true.
// Port cannot be opened, or the system reports it gone or failing during the search:
// Command5 visible, error kind 4, linkError 2, nothing more is sent. No "U" answer at any
// setting: Command5 visible, error kind 3 (identifyMode still on), linkError 1. Cancelled:
// linkError 1 and no report; p.start.portChooserVisible is then true and the caller ends the
// whole read at once, without any further report. Returns false in all three.
bool connectToUnit(Program& p);

}  // namespace sigcond
