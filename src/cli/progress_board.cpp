#include "cli/progress_board.h"

#include <algorithm>
#include <chrono>

#include "cli/terminal.h"

namespace sigcond::cli {

namespace {

constexpr auto kDrawInterval = std::chrono::milliseconds(100);
constexpr auto kLongestWait = std::chrono::seconds(1);

// The text cut to `width` characters (UTF-8: continuation bytes take no room).
std::string cutTo(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++characters > width) return text.substr(0, i);
    }
    return text;
}

}  // namespace

ProgressBoard::ProgressBoard(std::vector<std::string> ports, std::FILE* out, int columns, int rows)
    // A line keeps off the terminal's last column however narrow it is, or it would wrap and
    // erasing the board would leave pieces of it.
    : out_(out), columns_(std::max(columns, 2)), rows_(std::max(rows, 2)) {
    for (std::string& port : ports) {
        portWidth_ = std::max(portWidth_, port.size());
        units_.push_back(Unit{std::move(port)});
    }
    portWidth_ = std::min(portWidth_, static_cast<std::size_t>(columns_ / 2));
}

void ProgressBoard::setStep(std::size_t unit, const std::string& step) {
    std::lock_guard lock(mutex_);
    if (unit >= units_.size() || units_[unit].finished || units_[unit].step == step) return;
    units_[unit].step = step;
    dirty_ = true;
    changed_.notify_all();
}

void ProgressBoard::setResult(std::size_t unit, bool ok, const std::string& summary) {
    std::lock_guard lock(mutex_);
    if (unit >= units_.size() || units_[unit].finished) return;
    units_[unit].step = std::string(ok ? "ok      " : "FAILED  ") + summary;
    units_[unit].finished = true;
    units_[unit].ok = ok;
    ++finished_;
    dirty_ = true;
    changed_.notify_all();
}

std::vector<std::string> ProgressBoard::lines() const {
    std::lock_guard lock(mutex_);
    return linesLocked();
}

std::vector<std::string> ProgressBoard::linesLocked() const {
    // The board must fit on the screen: the cursor cannot go back to a line scrolled off.
    const std::size_t room = static_cast<std::size_t>(rows_ - 1);
    std::vector<std::size_t> shown;
    if (units_.size() <= room) {
        for (std::size_t n = 0; n < units_.size(); ++n) shown.push_back(n);
    } else {
        for (const bool done : {false, true}) {
            for (std::size_t n = 0; n < units_.size() && shown.size() + 1 < room; ++n) {
                if ((units_[n].finished && units_[n].ok) == done) shown.push_back(n);
            }
        }
        std::sort(shown.begin(), shown.end());
    }
    std::vector<std::string> lines;
    const auto width = static_cast<std::size_t>(columns_ - 1);
    for (const std::size_t n : shown) {
        std::string port = units_[n].port;
        if (port.size() < portWidth_) port += std::string(portWidth_ - port.size(), ' ');
        lines.push_back(cutTo(port + "  " + units_[n].step, width));
    }
    if (shown.size() < units_.size()) {
        std::size_t ok = 0, failed = 0, working = 0;
        for (std::size_t n = 0; n < units_.size(); ++n) {
            if (std::binary_search(shown.begin(), shown.end(), n)) continue;
            ++(units_[n].finished ? (units_[n].ok ? ok : failed) : working);
        }
        lines.push_back(cutTo("... " + std::to_string(units_.size() - shown.size()) + " more: " +
                                  std::to_string(ok) + " ok, " + std::to_string(failed) +
                                  " failed, " + std::to_string(working) + " at work",
                              width));
    }
    return lines;
}

void ProgressBoard::draw(const std::vector<std::string>& lines) {
    std::string text;
    // Back to the first line of the board, then each line cleared and written anew.
    if (drawn_ > 0) text += "\x1b[" + std::to_string(drawn_) + "F";
    for (const std::string& line : lines) text += "\x1b[2K" + line + "\n";
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
    drawn_ = lines.size();
}

void ProgressBoard::run() {
    for (;;) {
        std::vector<std::string> now;
        {
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, kLongestWait, [&] { return dirty_; });
            if (finished_ == units_.size()) break;
            if (!dirty_) continue;
            dirty_ = false;
            now = linesLocked();
        }
        draw(now);
        // Steps change faster than anyone reads them; the finish ends the wait at once.
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kDrawInterval, [&] { return finished_ == units_.size(); });
    }
    if (drawn_ > 0) {
        std::fprintf(out_, "\x1b[%zuF\x1b[J", drawn_);
        std::fflush(out_);
        drawn_ = 0;
    }
}

bool progressTerminal(int& columns, int& rows) {
    TerminalSize size;
    if (!escapeTerminal(size)) return false;
    columns = size.columns > 0 ? size.columns : 80;
    rows = size.rows > 0 ? size.rows : 24;
    return true;
}

}  // namespace sigcond::cli
