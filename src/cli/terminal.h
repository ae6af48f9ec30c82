// Standard output as a terminal: whether it takes the progress board's cursor movements, and
// its size. One implementation per system: terminal_posix.cpp and terminal_win.cpp.
#pragma once

namespace sigcond::cli {

// Characters per line and lines; 0 where the system does not tell.
struct TerminalSize {
    int columns = 0;
    int rows = 0;
};

// True when standard output is a terminal that takes ANSI cursor movements (on Windows a
// console, whose processing of them this switches on); `size` then holds what the system tells
// of it. False for a file, a pipe, a dumb terminal or a console that cannot take them.
bool escapeTerminal(TerminalSize& size);

}  // namespace sigcond::cli
