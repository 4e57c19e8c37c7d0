// What the bundled meeting service of `quovana app` keeps in an application
// home between runs: the port it served on, so that the addresses the app
// stored (feeds, maps, documents) still answer, and what the user changed
// there (agenda, personal entries, invitations, follows, messages, notes,
// privacy settings), so that a later run neither forgets a write, which its
// delta would then take out of the store, nor issues an id a second time;
// the items the organiser changed there (the demo's session), so that a
// later run does not serve them at a revision below the store's;
// the "Idempotency-Key"s it answered, so that a send repeated after a
// restart is still taken once; and the size of the meeting it generated, so
// that a later run without --generate serves the same meeting rather than
// the default one.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service/MeetingService.h"

namespace quovana {

struct LocalServiceState {
    std::optional<int> port;
    std::string eventId;
    // Sessions and participants of the generated meeting.
    std::optional<std::pair<int, int>> generated;
    testservice::MeetingData changes;
    // The items the organiser changed on the service (the demo's session),
    // by kind.
    testservice::MeetingData changedBySide;
    std::vector<testservice::MeetingService::KeyedAnswer> answered;
};

// The file the state is kept in, in the current home.
std::string localServiceStatePath();

// What an earlier run left in the current home, if anything readable. When
// a file is there that holds no state (cut short, empty, not JSON, or any
// part of it of another type or outside the range its writer gives it, see
// LocalServiceStateCheck.h), `unreadable`, when given, receives why.
std::optional<LocalServiceState> readLocalServiceState(std::string* unreadable = nullptr);
// Moves an unreadable state file aside, beside it under a name of its own,
// so that a fresh start overwrites nothing of it; false when it could not
// be moved, and then nothing may start afresh over it. `told` receives the
// sentence that tells the user, the file's name, `why` and where it went (or
// why it could not), in it.
bool setAsideLocalServiceState(const std::string& why, std::string& told);
// Puts the user's changes, the organiser's and the answered keys of an
// earlier run on the same meeting back.
void applyLocalServiceState(const LocalServiceState& state, testservice::MeetingService& service);
// Keeps the service's port, the meeting's size, the user's changes, the
// organiser's and the answered keys in the current home; false when they
// could not be written.
bool writeLocalServiceState(testservice::MeetingService& service, std::pair<int, int> generated);
// From now on keeps the same in the current home after every write the
// service takes, before its answer is sent: a run that is killed loses
// nothing the service answered, and a write that cannot be kept is answered
// with an error.
void keepLocalServiceStateOnWrites(testservice::MeetingService& service, std::pair<int, int> generated);

}  // namespace quovana
