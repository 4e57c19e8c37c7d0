// The timeout that means "no time limit" for the blocking waits of Group and
// Semaphore.
#pragma once

#include <limits>

namespace dispatch {

inline constexpr double kWaitForever = std::numeric_limits<double>::infinity();

}  // namespace dispatch
