// State of data logging: the switch, the sampling period in live-reading cycles, the countdown,
// the indicator's blink phase and the open log file.
#pragma once

#include <cstdio>
#include <string>

namespace sigcond {

// The log file, open for output from the start of logging until logging is started again or
// the program ends. Closed on destruction.
class LogFile {
public:
    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    ~LogFile() { close(); }

    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // Opens the path for output, created or emptied. Returns 0 or the system's error number.
    int open(const std::string& path);
    // Appends the text and flushes it to the system. Returns 0 or the system's error number.
    int write(const std::string& text);
    void close();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

struct LogState {
    int loggingOn = 0;        // 1 while records are written
    long sampleTicks = 0;     // sampling period in live-reading cycles (2 per second)
    long sampleCountdown = 0; // cycles left until the next record
    int logBlink = 0;         // phase of the indicator blink (2 = toggle on this cycle)
    LogFile logFile;          // the log file
};

}  // namespace sigcond
