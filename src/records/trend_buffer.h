// The trend buffer of the latest readings.
#pragma once

namespace sigcond {

struct TrendBuffer {};

}  // namespace sigcond
