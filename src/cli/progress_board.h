// One line per unit on a terminal, updated in place while the units are served side by side:
// the port, the step its session is at, and its result once it has one. The workers only note
// their steps; one thread draws, at most ten times a second, with the terminal's cursor
// movements, and erases the board when every unit has its result.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace sigcond::cli {

class ProgressBoard {
public:
    // Draws on `out`, a terminal `columns` wide and `rows` high, one line per port of `ports`.
    ProgressBoard(std::vector<std::string> ports, std::FILE* out, int columns, int rows);

    // From the workers, any thread.
    void setStep(std::size_t unit, const std::string& step);
    void setResult(std::size_t unit, bool ok, const std::string& summary);

    // Draws until every unit has its result, then erases the board. Every wait in it is bounded.
    void run();

    // The lines as they would be drawn now, each cut to the terminal's width. With more units
    // than rows, the units still at work and those that failed come first and one last line
    // counts the others.
    std::vector<std::string> lines() const;

private:
    struct Unit {
        std::string port;
        std::string step = "waiting";
        bool finished = false;
        bool ok = false;
    };

    std::vector<std::string> linesLocked() const;
    void draw(const std::vector<std::string>& lines);

    std::FILE* out_;
    int columns_;
    int rows_;
    std::size_t portWidth_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool dirty_ = true;
    std::size_t finished_ = 0;
    std::vector<Unit> units_;
    std::size_t drawn_ = 0;  // lines on the terminal now
};

// True when standard output is a terminal that takes cursor movements; `columns` and `rows`
// then hold its size.
bool progressTerminal(int& columns, int& rows);

}  // namespace sigcond::cli
