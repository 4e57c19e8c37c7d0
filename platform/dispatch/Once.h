// Once-only initialisation of process-wide objects (the singletons): the
// function runs exactly once however many threads ask at the same moment, and
// every caller returns only after it has run.
#pragma once

#include <functional>
#include <mutex>

namespace dispatch {

void once(std::once_flag& flag, const std::function<void()>& fn);

}  // namespace dispatch
