// Serves a UnitModel on a pseudo-terminal: the client opens the slave device as its serial
// port; the simulator reads frames on the master side, where it also sees the client's baud
// rate, stop bits and odd-parity flag.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "sim/model/unit_model.h"

namespace sigcond::sim {

class PtyServer {
public:
    explicit PtyServer(UnitModel& unit) : unit_(unit) {}
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal (and the link to it, and opens the log). False with `error`.
    bool start(const std::string& linkPath, const std::string& logPath, std::string& error);
    const std::string& devicePath() const { return devicePath_; }

    // Serves every one of `servers` (one unit each, on its own pseudo-terminal) until a stop is
    // requested through the wake-up pipe. `wakeFd` is read when it becomes readable; each byte
    // read is a request: 'q' stops, 's' toggles silence on every unit.
    static void serve(const std::vector<PtyServer*>& servers, int wakeFd);

    // The line settings the client has set, as far as the master can see them: parity "N"
    // when two stop bits are set (the protocol uses two only without parity), else "O" or "E"
    // by the odd flag; 7 data bits.
    LineSettings clientLine() const;

    // Holds the unit's line noise back until its `frame`-th frame (counted from 1): the replies
    // before it come clean, those from it on carry the noise.
    void noiseFromFrame(int frame);

private:
    void readFrames(double now);
    void writeDue(double now);
    void logNewFrames();

    UnitModel& unit_;
    int master_ = -1;
    int slave_ = -1;  // kept open so reads on the master keep working when the client closes
    std::string devicePath_;
    std::string linkPath_;
    std::FILE* log_ = nullptr;
    double inboundFreeAt_ = 0.0;  // wire-time emulation: when the client's last byte is in
    int noiseFrom_ = 0;           // > 0: the frame from which on replies carry the noise
    std::string heldNoise_;       // the noise held back until then
};

}  // namespace sigcond::sim
