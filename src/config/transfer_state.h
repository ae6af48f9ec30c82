// Flags of the configuration transfers (read and send).
#pragma once

namespace sigcond {

struct TransferState {
    int unitIdentified = 0;  // the unit's type has been read
    int readSucceeded = 0;   // the last configuration read ran to its end
    int partialSend = 0;     // the next send writes only the option registers
};

}  // namespace sigcond
