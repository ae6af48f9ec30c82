#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "cli/terminal.h"

namespace sigcond::cli {

bool escapeTerminal(TerminalSize& size) {
    if (!isatty(STDOUT_FILENO)) return false;
    const char* term = std::getenv("TERM");
    if (!term || !*term || std::strcmp(term, "dumb") == 0) return false;
    winsize window{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) == 0) {
        size.columns = window.ws_col;
        size.rows = window.ws_row;
    }
    return true;
}

}  // namespace sigcond::cli
