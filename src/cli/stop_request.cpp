#include "cli/stop_request.h"

#include <atomic>
#include <csignal>

namespace sigcond::cli {
namespace {

std::atomic<bool> requested{false};

void onStopSignal(int) { requested = true; }

}  // namespace

void installStopHandlers() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

bool stopRequested() { return requested; }

}  // namespace sigcond::cli
