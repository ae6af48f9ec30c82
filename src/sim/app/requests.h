// Requests from outside a running simulator, which come as signals: a stop (SIGTERM, SIGINT,
// SIGHUP; on Windows Ctrl+C, Ctrl+Break and the console closing) and, where there is SIGUSR1,
// switching "answer nothing" on and off. The handlers only note them; the serve loops look.
#pragma once

#include <atomic>
#include <string>

namespace sigcond::sim {

struct Requests {
    std::atomic<bool> stop{false};
    std::atomic<int> silenceToggles{0};
    int wakeFd = -1;  // POSIX: a pipe's read end, readable after each request; elsewhere -1

    // Switches of "answer nothing" asked for since the last call.
    int takeSilenceToggles() { return silenceToggles.exchange(0); }
};

// Installs the handlers, which note into `requests` (kept for the rest of the program). False
// with `error`. (requests_posix.cpp, requests_win.cpp)
bool installRequestHandlers(Requests& requests, std::string& error);

}  // namespace sigcond::sim
