// What a command run in process changes of the process, and what a tools test
// puts back after it: the application home, the open stores, the row
// throttle (off while the test runs), the service root and the simulated
// network.
#pragma once

#include <optional>
#include <string>

#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "network/Reachability.h"
#include "store/StorageManager.h"

class InProcessCommandState {
public:
    void enter() {
        previousHome_ = foundation::ApplicationHome::root();
        StorageManager::sharedStorageManager().setCoreDataStackCaches({});
        StorageManager::sharedStorageManager().setRowPauseForTesting([] {});
    }

    void leave() {
        StorageManager::sharedStorageManager().setCoreDataStackCaches({});
        StorageManager::sharedStorageManager().setRowPauseForTesting(nullptr);
        QVAApiManager::setServiceRoot(std::nullopt);
        network::Reachability::setSimulatedFlags(std::nullopt);
        foundation::ApplicationHome::setRoot(previousHome_);
    }

private:
    std::string previousHome_;
};
