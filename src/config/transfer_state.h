// Flags of the configuration transfers (read and send).
#pragma once

namespace sigcond {

struct TransferState {
    int unitIdentified = 0;  // the unit's type has been read
    int readSucceeded = 0;   // the last configuration read ran to its end
    int partialSend = 0;     // the next send writes only the option registers
    // The live display's output scale and offset from before a send encoded new ones; they
    // stay in effect when the transfer fails.
    double scaleBeforeSend = 0.0;
    double offsetBeforeSend = 0.0;
};

}  // namespace sigcond
