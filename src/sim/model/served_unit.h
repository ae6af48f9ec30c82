// A UnitModel on a real line, as the simulator program serves it (on a pseudo-terminal or a TCP
// port): every frame it receives goes to the frame log, its noise may be held back until a
// given frame, and with wire-time emulation bytes that arrive all at once are taken as coming in
// at the line's pace.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "sim/model/unit_model.h"

namespace sigcond::sim {

class ServedUnit {
public:
    explicit ServedUnit(UnitModel& unit) : unit_(unit) {}
    ~ServedUnit();
    ServedUnit(const ServedUnit&) = delete;
    ServedUnit& operator=(const ServedUnit&) = delete;

    // Appends the frames to the log at `path` (none when empty). False with `error`.
    bool openLog(const std::string& path, std::string& error);
    // Holds the unit's line noise back until its `frame`-th frame (counted from 1): the replies
    // before it come clean, those from it on carry the noise.
    void noiseFromFrame(int frame);

    // Bytes read from the line at `now`, sent at `line`; logs the frames they complete.
    void receive(std::string_view bytes, const LineSettings& line, double now);
    // Reply characters due by `now`.
    std::string takeOutput(double now) { return unit_.takeOutput(now); }
    // The other end went away: nothing half received or still to send is kept.
    void dropLine();

    UnitModel& unit() { return unit_; }

private:
    UnitModel& unit_;
    std::FILE* log_ = nullptr;
    double inboundFreeAt_ = 0.0;  // wire-time emulation: when the client's last byte is in
    int noiseFrom_ = 0;           // > 0: the frame from which on replies carry the noise
    std::string heldNoise_;       // the noise held back until then
};

}  // namespace sigcond::sim
