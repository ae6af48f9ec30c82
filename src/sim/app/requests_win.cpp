#include <windows.h>

#include <csignal>

#include "sim/app/requests.h"

namespace sigcond::sim {

namespace {

Requests* noted = nullptr;

void onSignal(int signal) {
    noted->stop.store(true);
    std::signal(signal, onSignal);  // the runtime puts the default back before calling
}

// Ctrl+C, Ctrl+Break, the console window closing, logging off, shutting down: all stop.
BOOL WINAPI onConsoleEvent(DWORD) {
    noted->stop.store(true);
    return TRUE;
}

}  // namespace

bool installRequestHandlers(Requests& requests, std::string& error) {
    noted = &requests;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (!SetConsoleCtrlHandler(onConsoleEvent, TRUE)) {
        error =
            "cannot watch the console for Ctrl+C (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

}  // namespace sigcond::sim
