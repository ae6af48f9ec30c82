#include <windows.h>

#include <cstdlib>

#include "cli/terminal.h"

namespace sigcond::cli {

namespace {

HANDLE console = INVALID_HANDLE_VALUE;
DWORD modeBefore = 0;

// The console is left as the program found it: the shell it returns to may not expect escape
// sequences to be carried out.
void restoreConsoleMode() { SetConsoleMode(console, modeBefore); }

}  // namespace

bool escapeTerminal(TerminalSize& size) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    // A file, a pipe (a mintty window among them) or no console at all.
    if (out == nullptr || out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode)) return false;
    if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0) {
        // A console host older than Windows 10 does not have the mode.
        if (!SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
        if (console == INVALID_HANDLE_VALUE) {
            console = out;
            modeBefore = mode;
            std::atexit(restoreConsoleMode);
        }
    }
    // The window, not the buffer: lines wrap at the buffer's width, which is never narrower,
    // and the cursor cannot go back above the window's top line.
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(out, &info)) {
        size.columns = info.srWindow.Right - info.srWindow.Left + 1;
        size.rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    }
    return true;
}

}  // namespace sigcond::cli
