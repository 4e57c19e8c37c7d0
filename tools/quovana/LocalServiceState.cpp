#include "quovana/LocalServiceState.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/FileManager.h"
#include "foundation/JSONSerialization.h"

namespace quovana {

namespace {

using foundation::Value;

std::string localServiceStatePath() { return foundation::ApplicationHome::libraryDirectory() + "/local-service.json"; }

// The lists the app writes to.
const std::vector<testservice::MeetingKind>& userChangedKinds() {
    using testservice::MeetingKind;
    static const std::vector<MeetingKind> kinds = {MeetingKind::AgendaSelections, MeetingKind::PersonalEntries,
                                                   MeetingKind::AgendaInvitations, MeetingKind::Following,
                                                   MeetingKind::Messages, MeetingKind::SessionNotes,
                                                   MeetingKind::ParticipantNotes};
    return kinds;
}

}  // namespace

std::optional<LocalServiceState> readLocalServiceState() {
    auto data = foundation::FileManager::defaultManager().contentsAtPath(localServiceStatePath());
    if (!data) return std::nullopt;
    const Value saved = foundation::JSONSerialization::JSONObjectWithData(*data);
    if (!saved.dictionary()) return std::nullopt;
    LocalServiceState state;
    if (saved["port"].isInteger()) state.port = static_cast<int>(saved["port"].integerValue());
    state.eventId = saved["eventId"].stringValue();
    if (saved["sessions"].isInteger() && saved["participants"].isInteger())
        state.generated = {static_cast<int>(saved["sessions"].integerValue()),
                           static_cast<int>(saved["participants"].integerValue())};
    for (auto kind : userChangedKinds())
        if (const auto* items = saved["lists"][testservice::fixtureName(kind)].array())
            state.changes.items(kind) = *items;
    state.changes.privacySettings = saved["privacySettings"];
    return state;
}

void applyLocalServiceState(const LocalServiceState& state, testservice::MeetingService& service) {
    if (state.eventId != service.eventId()) return;
    service.mutate([&](testservice::MeetingData& data) {
        for (auto kind : userChangedKinds()) {
            data.items(kind).clear();
            for (const auto& item : state.changes.items(kind)) data.put(kind, item);
        }
        if (!state.changes.privacySettings.isNothing()) data.privacySettings = state.changes.privacySettings;
    });
}

namespace {

// The state as kept in the home: the port, the meeting, its size and the
// lists the user changes.
std::optional<foundation::Data> stateText(const testservice::MeetingData& data, int port,
                                         std::pair<int, int> generated) {
    Value::Dictionary lists;
    for (auto kind : userChangedKinds()) lists[testservice::fixtureName(kind)] = Value(data.items(kind));
    // What the service holds may lack a value (a recipient without an
    // e-mail address): JSON has no absent value, so such a key is left out,
    // as the service leaves it out of its answers.
    Value::Dictionary saved = {{"port", Value(static_cast<long long>(port))},
                               {"eventId", Value(data.eventId)},
                               {"sessions", Value(static_cast<long long>(generated.first))},
                               {"participants", Value(static_cast<long long>(generated.second))},
                               {"lists", Value(lists)}};
    if (!data.privacySettings.isNothing()) saved["privacySettings"] = data.privacySettings;
    return foundation::JSONSerialization::dataWithJSONObject(testservice::withoutAbsentValues(Value(saved)));
}

bool writeState(const testservice::MeetingData& data, int port, std::pair<int, int> generated,
                const std::string& path) {
    const auto text = stateText(data, port, generated);
    return text && foundation::FileManager::defaultManager().writeData(*text, path, true);
}

}  // namespace

bool writeLocalServiceState(testservice::MeetingService& service, std::pair<int, int> generated) {
    const int port = service.server().port();
    const std::string path = localServiceStatePath();
    bool written = false;
    // Under the service's lock, as its writes are kept: no copy of the meeting.
    service.mutate([&](testservice::MeetingData& data) { written = writeState(data, port, generated, path); });
    return written;
}

void keepLocalServiceStateOnWrites(testservice::MeetingService& service, std::pair<int, int> generated) {
    // The home and the port are read here, on the run's thread; the sink
    // runs on the server's, under its lock, so the writes reach the file in
    // the order they were taken. A failure shows at the run's end, whose
    // write-out says so.
    service.setWriteTakenSink([path = localServiceStatePath(), port = service.server().port(),
                               generated](const testservice::MeetingData& data) {
        writeState(data, port, generated, path);
    });
}

}  // namespace quovana
