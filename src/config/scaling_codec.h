// Internal to the codec: the analog output scaling part of encoding and decoding.
#pragma once

namespace sigcond {

struct Program;

// Checks the scaling numbers (reporting error 1 or 2 on failure, then returns false), codes
// slot 4, scalePairLow/High and scaleOffset[1..2], and, unless the mode marker is "NA", puts
// the numeric scale and offset into the live state.
bool encodeScaling(Program& p);

// Slot 4 -> scalingText[1..4].
void decodeScalingPoints(Program& p);

// scaleRegisterText[1..2] -> p.live.outputScale / outputOffset.
void decodeScaleRegisters(Program& p);

}  // namespace sigcond
