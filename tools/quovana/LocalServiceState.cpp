#include "quovana/LocalServiceState.h"

#include <string>
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

bool writeLocalServiceState(testservice::MeetingService& service, std::pair<int, int> generated) {
    const auto data = service.snapshot();
    Value::Dictionary lists;
    for (auto kind : userChangedKinds()) lists[testservice::fixtureName(kind)] = Value(data.items(kind));
    // What the service holds may lack a value (a recipient without an
    // e-mail address): JSON has no absent value, so such a key is left out,
    // as the service leaves it out of its answers.
    Value::Dictionary saved = {{"port", Value(static_cast<long long>(service.server().port()))},
                               {"eventId", Value(service.eventId())},
                               {"sessions", Value(static_cast<long long>(generated.first))},
                               {"participants", Value(static_cast<long long>(generated.second))},
                               {"lists", Value(lists)}};
    if (!data.privacySettings.isNothing()) saved["privacySettings"] = data.privacySettings;
    auto text = foundation::JSONSerialization::dataWithJSONObject(testservice::withoutAbsentValues(Value(saved)));
    return text && foundation::FileManager::defaultManager().writeData(*text, localServiceStatePath(), true);
}

}  // namespace quovana
