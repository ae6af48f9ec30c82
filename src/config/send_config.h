// Sending the configuration to the unit: the summary shown before a send, starting a send
// (checks and encoding, on the operator's click) and the transmission itself (one timer tick
// later, so the banner is drawn before the line is busy).
#pragma once

#include <string>

namespace sigcond {

struct Program;

// Live-reading cycles the success banner stays up.
inline constexpr int kSentBannerTicks = 3;

// Menu VW "     &Send configuration": commits an open option panel and shows the
// "Configuration" frame (Frame5) with the whole configuration and the "&Send"/"&Cancel" buttons.
void showSendSummary(Program& p);

// Command13 "&Cancel" of the summary: hides the frame; nothing else changes.
void cancelSendSummary(Program& p);

// Command14 "&Send", and the answer Yes to the send question: checks that a unit is connected
// (error report 5 otherwise), stops the live reading, commits an open panel, encodes the record
// and schedules the transmission (deferred action 1) behind the "SENDING" banner. Nothing is
// scheduled when the scaling values fail their checks (the encoder has reported why).
void sendConfiguration(Program& p);

// Deferred action 1 (and the live-scaling send, with partialSend set): writes the encoded
// registers in order, then "W0814" and "Z01" (not in a partial send), and brings the main
// screen's units and values up to date. Stops at the first command that fails, with the banner
// hidden and linkError left at 1; success is reported only when every command was answered.
// Once the unit has confirmed register 02, the live display's units and output full scale
// follow the options sent even if a later command fails; once it has confirmed register 01,
// the reading unit (Label13, and so the data log's) and the range factor of a process, strain
// or AC input follow the range sent.
void transmitConfiguration(Program& p);

// The deferred-action entry: transmitConfiguration; after a failed transfer the live output
// follows the scale and offset the unit confirmed (or had); the live reading is switched on again.
void runDeferredTransmit(Program& p);

// The reading unit as the main screen shows it: readingUnitText, or " %" for a ratiometric
// process or strain input.
std::string shownReadingUnitText(const Program& p);

// Asks the send question (kSendQuestion of ui/main_screen_ops.h: Yes/No, question icon, title
// " ") whether or not a unit is connected; Yes runs sendConfiguration.
void offerToSendNow(Program& p);

}  // namespace sigcond
