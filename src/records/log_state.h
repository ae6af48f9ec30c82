// State of data logging.
#pragma once

namespace sigcond {

struct LogState {};

}  // namespace sigcond
