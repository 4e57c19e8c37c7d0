// The offline switch: one atomic flag, read when a task starts.
#include "foundation/NetworkConditions.h"

#include <atomic>

namespace foundation {

namespace {
std::atomic<bool> offlineFlag{false};
}

bool NetworkConditions::isOffline() {
    return offlineFlag.load();
}

void NetworkConditions::setOffline(bool offline) {
    offlineFlag.store(offline);
}

}  // namespace foundation
