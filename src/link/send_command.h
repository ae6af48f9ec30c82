// The one routine that exchanges a command with the unit. Everything it learns is left in
// p.link: replyText (the data of the reply), linkError (0 ok, 1 failed and reported),
// replyHead (first raw reply character, while identifyMode is on); linkError 2 when the port
// failed during the configuration read.
#pragma once

#include <string>

namespace sigcond {

struct Program;

// Sends "*" + command + CR and waits for the reply (1, 2 or 4 s per transmission, up to three
// transmissions while the unit answers "?"). replyLength is the number of data characters
// wanted after the three-character echo (0 for writes; ignored for "X01", which returns all).
// A silent unit is reported here (error panel, or the reading-error panel during live
// scaling); an empty reply to an "X" command is left to the caller. While the configuration
// is read (p.link.readingConfiguration), a port that the system reports as failed is reported
// as a wrong port instead (reportPortFailure, linkError 2). For a frequency unit a
// reading that is not ready is deferred over the following calls instead of failing.
void sendCommand(Program& p, const std::string& command, int replyLength);

// Reports a command that got no usable answer as sendCommand reports a silent unit, and sets
// linkError to 1. For callers that find a reply they cannot use (p.link.rejected, or a reply
// cut short).
void reportUnansweredCommand(Program& p);

// Reports a port that cannot be opened or used: Command5 visible, error kind 4, linkError 2.
void reportPortFailure(Program& p);

// Longest time one wait on the port may block, so the exchange notices the carriage return
// quickly and a silent unit costs no processor time.
inline constexpr int kWaitSliceMs = 20;

}  // namespace sigcond
