#include "cli/stop_request.h"

#include <atomic>

namespace sigcond::cli {
namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

void requestStop() { requested = true; }

bool stopRequested() { return requested; }

}  // namespace sigcond::cli
