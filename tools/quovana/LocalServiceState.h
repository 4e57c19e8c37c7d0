// What the bundled meeting service of `quovana app` keeps in an application
// home between runs: the port it served on, so that the addresses the app
// stored (feeds, maps, documents) still answer, and what the user changed
// there (agenda, personal entries, invitations, follows, messages, notes,
// privacy settings), so that a later run neither forgets a write, which its
// delta would then take out of the store, nor issues an id a second time;
// and the size of the meeting it generated, so that a later run without
// --generate serves the same meeting rather than the default one.
#pragma once

#include <optional>
#include <utility>

#include "service/MeetingService.h"

namespace quovana {

struct LocalServiceState {
    std::optional<int> port;
    std::string eventId;
    // Sessions and participants of the generated meeting.
    std::optional<std::pair<int, int>> generated;
    testservice::MeetingData changes;
};

// What an earlier run left in the current home, if anything readable.
std::optional<LocalServiceState> readLocalServiceState();
// Puts the user's changes of an earlier run on the same meeting back.
void applyLocalServiceState(const LocalServiceState& state, testservice::MeetingService& service);
// Keeps the service's port, the meeting's size and the user's changes in the
// current home; false when they could not be written.
bool writeLocalServiceState(testservice::MeetingService& service, std::pair<int, int> generated);
// From now on keeps the same in the current home after every write the
// service takes, before its answer is sent: a run that is killed loses
// nothing the service answered.
void keepLocalServiceStateOnWrites(testservice::MeetingService& service, std::pair<int, int> generated);

}  // namespace quovana
