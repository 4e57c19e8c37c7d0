// What the bundled meeting service of `quovana app` keeps in an application
// home between runs: the port it served on, so that the addresses the app
// stored (feeds, maps, documents) still answer, and what the user changed
// there (agenda, personal entries, invitations, follows, messages, privacy
// settings), so that a later run neither forgets a write, which its delta
// would then take out of the store, nor issues an id a second time.
#pragma once

#include <optional>

#include "service/MeetingService.h"

namespace quovana {

struct LocalServiceState {
    std::optional<int> port;
    std::string eventId;
    testservice::MeetingData changes;
};

// What an earlier run left in the current home, if anything readable.
std::optional<LocalServiceState> readLocalServiceState();
// Puts the user's changes of an earlier run on the same meeting back.
void applyLocalServiceState(const LocalServiceState& state, testservice::MeetingService& service);
// Keeps the service's port and the user's changes in the current home.
bool writeLocalServiceState(testservice::MeetingService& service);

}  // namespace quovana
