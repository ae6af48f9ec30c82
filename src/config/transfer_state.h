// Flags of the configuration transfers (read and send).
#pragma once

namespace sigcond {

struct TransferState {
    int unitIdentified = 0;  // the unit's type has been read
    int readSucceeded = 0;   // the last configuration read ran to its end
    int partialSend = 0;     // the next send writes only the option registers
    // The output scale and offset the unit works with during a send: those from before it,
    // each replaced by the new one once the unit has confirmed its write ("W05", "W06"). The
    // live display keeps them when the transfer fails.
    double scaleInUnit = 0.0;
    double offsetInUnit = 0.0;
};

}  // namespace sigcond
