// Serves a UnitModel on a pseudo-terminal: the client opens the slave device as its serial
// port; the simulator reads frames on the master side, where it also sees the client's baud
// rate, stop bits and odd-parity flag.
#pragma once

#include <string>
#include <vector>

#include "sim/app/requests.h"
#include "sim/model/served_unit.h"

namespace sigcond::sim {

class PtyServer {
public:
    explicit PtyServer(ServedUnit& unit) : unit_(unit) {}
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal (and the link to it). False with `error`.
    bool start(const std::string& linkPath, std::string& error);
    const std::string& devicePath() const { return devicePath_; }

    // Serves every one of `servers` (one unit each, on its own pseudo-terminal) until a stop is
    // requested; a silence switch applies to every unit. Wakes when `requests.wakeFd` becomes
    // readable.
    static void serve(const std::vector<PtyServer*>& servers, Requests& requests);

    // The line settings the client has set, as far as the master can see them: parity "N"
    // when two stop bits are set (the protocol uses two only without parity), else "O" or "E"
    // by the odd flag; 7 data bits.
    LineSettings clientLine() const;

private:
    void readFrames(double now);
    void writeDue(double now);

    ServedUnit& unit_;
    int master_ = -1;
    int slave_ = -1;  // kept open so reads on the master keep working when the client closes
    std::string devicePath_;
    std::string linkPath_;
};

}  // namespace sigcond::sim
