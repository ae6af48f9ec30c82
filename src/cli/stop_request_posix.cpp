#include <csignal>

#include "cli/stop_request.h"

namespace sigcond::cli {
namespace {

void onStopSignal(int) { requestStop(); }

}  // namespace

void installStopHandlers() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

}  // namespace sigcond::cli
