#include "sim/model/served_unit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sigcond::sim {

ServedUnit::~ServedUnit() {
    if (log_) std::fclose(log_);
}

bool ServedUnit::openLog(const std::string& path, std::string& error) {
    if (path.empty()) return true;
    log_ = std::fopen(path.c_str(), "a");
    if (!log_) error = "cannot open the log " + path + ": " + std::strerror(errno);
    return log_ != nullptr;
}

void ServedUnit::noiseFromFrame(int frame) {
    noiseFrom_ = frame;
    heldNoise_ = unit_.faults().noise;
    unit_.faults().noise.clear();
}

void ServedUnit::receive(std::string_view bytes, const LineSettings& line, double now) {
    if (noiseFrom_ > 0 && unit_.frameCount() + 1 >= noiseFrom_) {
        unit_.faults().noise = heldNoise_;
        noiseFrom_ = 0;
    }
    double arrival = now;
    if (unit_.faults().wireTime) {
        // The bytes are read at once; on the emulated line they take their time to come in.
        inboundFreeAt_ = std::max(now, inboundFreeAt_) +
                         static_cast<double>(bytes.size()) * line.characterSeconds();
        arrival = inboundFreeAt_;
    }
    unit_.receive(bytes, line, arrival);
    if (log_) {
        for (const auto& frame : unit_.frames())
            std::fprintf(log_, "%s\n", frame.logLine().c_str());
        std::fflush(log_);
    }
    unit_.clearFrames();  // the log keeps them; the unit need not
}

void ServedUnit::dropLine() {
    unit_.dropLine();
    inboundFreeAt_ = 0.0;
}

}  // namespace sigcond::sim
