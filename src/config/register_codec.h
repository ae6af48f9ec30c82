// The register codec: the configuration record coded into the unit's register texts
// (p.registers) and back.
//
// Error style: a failed scaling check is reported on the error panel through showError (kind 1
// or 2), which sets p.link.linkError = 1 and p.screen.abortFlag = 1; encodeConfiguration then
// stops where it is and returns false. Callers (send, save, live scaling) test either the result
// or the flags, as the rest of the program does.
#pragma once

#include <string>
#include <string_view>

namespace sigcond {

struct Program;

// Record -> registerText slots 1..encodedGroupCount and slot 7 (not "ACV"/"ACC"), and, unless
// p.transfer.partialSend is set, scalePairLow/High and scaleOffset[1..2] (registers 3C/3D, 05,
// 06). Unless the mode marker is "NA" the numeric scale and offset also go to
// p.live.outputScale/outputOffset. Captured live inputs (p.live.capturedInput) replace Input 1
// and Input 2 in the line. Returns false after a failed scaling check (reported, see above).
bool encodeConfiguration(Program& p);

// registerText slots 1..encodedGroupCount and slot 7 (not "ACV"/"ACC") -> record; unless the
// mode marker is "NA", scaleRegisterText[1..2] -> p.live.outputScale/outputOffset. Any text is
// safe: a missing or non-hexadecimal character counts as "0".
void decodeConfiguration(Program& p);

// --- The number codings, for the codec and for whoever shows or checks coded values. ---

// 6-digit code of one scaling text (slot 4). `output` = a Desired output (always 4 decimals);
// `counting` = an input of an "FP" unit in a counting mode (a plain count).
std::string encodeScalingValue(std::string_view text, bool output, bool counting);
// Text of one 6-digit scaling code (the reverse of encodeScalingValue).
std::string decodeScalingValue(std::string_view code, bool output, bool counting);

// 6-digit code of the output scale (register 05) and offset (register 06). Values beyond
// +-524000 (scale) or +-1000000 (offset) are coded as those limits; an undefined value as 0.
std::string encodeScaleCode(double scale);
std::string encodeOffsetCode(double offset);
// Values of register 05 / 06 texts.
double decodeScaleCode(std::string_view code);
double decodeOffsetCode(std::string_view code);

}  // namespace sigcond
