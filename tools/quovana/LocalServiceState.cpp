#include "quovana/LocalServiceState.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/FileManager.h"
#include "foundation/JSONSerialization.h"
#include "quovana/LocalServiceStateCheck.h"
#include "service/MeetingGenerator.h"

namespace quovana {

namespace {

using foundation::Value;
using KeyedAnswer = testservice::MeetingService::KeyedAnswer;

std::vector<KeyedAnswer> keptKeyedAnswers(const Value& saved) {
    std::vector<KeyedAnswer> answered;
    const auto* items = saved.array();
    if (!items) return answered;
    // Each of the shape the writer gives it, checked before.
    for (const auto& item : *items)
        answered.push_back({item["token"].stringValue(), item["key"].stringValue(),
                            static_cast<int>(item["status"].integerValue()), item["contentType"].stringValue(),
                            item["body"].stringValue()});
    return answered;
}

Value keyedAnswersValue(const std::vector<KeyedAnswer>& answered) {
    Value::Array items;
    items.reserve(answered.size());
    for (const auto& answer : answered)
        items.push_back(Value::dictionary({{"token", Value(answer.token)},
                                           {"key", Value(answer.key)},
                                           {"status", Value(static_cast<long long>(answer.status))},
                                           {"contentType", Value(answer.contentType)},
                                           {"body", Value(answer.body)}}));
    return Value(std::move(items));
}

}  // namespace

std::string localServiceStatePath() { return foundation::ApplicationHome::libraryDirectory() + "/local-service.json"; }

std::optional<LocalServiceState> readLocalServiceState(std::string* unreadable) {
    const std::string path = localServiceStatePath();
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(path)) return std::nullopt;
    // A pipe would hold the read, and the start, until something wrote to
    // it, and a device may never end: only a plain file is read.
    std::error_code code;
    const auto type = std::filesystem::status(path, code).type();
    if (type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory) {
        if (unreadable) *unreadable = "it is no plain file";
        return std::nullopt;
    }
    foundation::ErrorPtr error;
    auto data = files.contentsAtPath(path, &error);
    if (!data) {
        if (unreadable) *unreadable = error ? error->localizedDescription() : "it cannot be read";
        return std::nullopt;
    }
    // A part given twice would be read as its last one, and the next save
    // would keep only that.
    const Value saved = foundation::JSONSerialization::JSONObjectWithData(
        *data, foundation::JSONSerialization::ReadingRefuseRepeatedKeys);
    if (!saved.dictionary()) {
        if (unreadable)
            *unreadable = data->length() == 0 ? "it is empty"
                          : !saved.isAbsent() ? "it holds no JSON object"
                          : foundation::JSONSerialization::JSONObjectWithData(*data).isAbsent()
                              ? "it is not JSON (cut short?)"
                              : "it gives a part twice";
        return std::nullopt;
    }
    // Whole or not at all: a part read around would serve the rest as the
    // whole, and the next save would write that over the person's data.
    if (const std::string wrong = wrongInLocalServiceState(saved); !wrong.empty()) {
        if (unreadable) *unreadable = wrong;
        return std::nullopt;
    }
    LocalServiceState state;
    state.port = static_cast<int>(saved["port"].integerValue());
    state.eventId = saved["eventId"].stringValue();
    if (saved["sessions"].isInteger())
        state.generated = {static_cast<int>(saved["sessions"].integerValue()),
                           static_cast<int>(saved["participants"].integerValue())};
    for (auto kind : userChangedKinds())
        if (const auto* items = saved["lists"][testservice::fixtureName(kind)].array())
            state.changes.items(kind) = *items;
    for (auto kind : testservice::allMeetingKinds())
        if (const auto* items = saved["organiserChanges"][testservice::fixtureName(kind)].array())
            state.changedBySide.items(kind) = *items;
    state.changes.privacySettings = saved["privacySettings"];
    state.answered = keptKeyedAnswers(saved["answeredKeys"]);
    return state;
}

bool setAsideLocalServiceState(const std::string& why, std::string& told) {
    const std::string path = localServiceStatePath();
    auto& files = foundation::FileManager::defaultManager();
    told = "the local service's state " + path + " cannot be read (" + why + ")";
    foundation::ErrorPtr error;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::string aside = path + ".unreadable" + (attempt == 1 ? "" : "-" + std::to_string(attempt));
        if (files.fileExistsAtPath(aside)) continue;
        if (files.moveItemAtPath(path, aside, &error)) {
            told += "; it is kept aside as " + aside + ", and the service starts afresh";
            return true;
        }
        break;
    }
    told += " and could not be moved aside (" +
            (error ? error->localizedDescription() : std::string("too many kept aside already")) +
            "); the service does not start, so that it does not overwrite it";
    return false;
}

void applyLocalServiceState(const LocalServiceState& state, testservice::MeetingService& service) {
    if (state.eventId != service.eventId()) return;
    service.mutate([&](testservice::MeetingData& data) {
        for (auto kind : userChangedKinds()) {
            // A list an earlier version did not keep stays as the meeting
            // has it: read as empty, it would take the meeting's rows out of
            // the app's store.
            if (!state.changes.lists.count(kind)) continue;
            data.items(kind).clear();
            for (const auto& item : state.changes.items(kind)) data.put(kind, item);
        }
        if (!state.changes.privacySettings.isNothing()) data.privacySettings = state.changes.privacySettings;
    });
    // Through putItem, so that they stay the organiser's changes for every
    // later state; only over items the meeting has (a smaller --generate
    // may lack them).
    for (auto kind : testservice::allMeetingKinds())
        for (const auto& item : state.changedBySide.items(kind))
            if (service.item(kind, testservice::idText(item["id"]))) service.putItem(kind, item);
    service.restoreKeyedAnswers(state.answered);
}

namespace {

// The state as kept in the home: the port, the meeting, its size, the lists
// the user changes, the items the organiser changed and the keys answered.
std::optional<foundation::Data> stateText(const testservice::MeetingData& data,
                                         const std::vector<KeyedAnswer>& answered,
                                         const testservice::MeetingService::SideChanges& changedBySide, int port,
                                         std::pair<int, int> generated) {
    Value::Dictionary lists;
    for (auto kind : userChangedKinds()) lists[testservice::fixtureName(kind)] = Value(data.items(kind));
    // The organiser's changes: a later run that served the meeting as
    // generated would take back what the app's store already holds (a
    // revision going backwards). The lists the user changes are kept whole.
    std::map<std::string, Value::Array> changedItems;
    const auto& userChanged = userChangedKinds();
    for (const auto& [kind, id] : changedBySide) {
        // An item without an id could not be put back in its place.
        const Value* item = id.empty() ? nullptr : data.find(kind, id);
        if (item && std::find(userChanged.begin(), userChanged.end(), kind) == userChanged.end())
            changedItems[testservice::fixtureName(kind)].push_back(*item);
    }
    Value::Dictionary organiserChanges;
    for (auto& [name, items] : changedItems) organiserChanges[name] = Value(std::move(items));
    // What the service holds may lack a value (a recipient without an
    // e-mail address): JSON has no absent value, so such a key is left out,
    // as the service leaves it out of its answers.
    Value::Dictionary saved = {{"port", Value(static_cast<long long>(port))},
                               {"eventId", Value(data.eventId)},
                               {"sessions", Value(static_cast<long long>(generated.first))},
                               {"participants", Value(static_cast<long long>(generated.second))},
                               {"lists", Value(lists)},
                               {"answeredKeys", keyedAnswersValue(answered)}};
    if (!organiserChanges.empty()) saved["organiserChanges"] = Value(std::move(organiserChanges));
    if (!data.privacySettings.isNothing()) saved["privacySettings"] = data.privacySettings;
    return foundation::JSONSerialization::dataWithJSONObject(testservice::withoutAbsentValues(Value(saved)));
}

// The meeting and the keys in one atomic write: a repeated key is never
// found without the write it answered, nor the write without its key.
testservice::MeetingService::StateSink stateWriter(const std::string& path, int port, std::pair<int, int> generated) {
    return [path, port, generated](const testservice::MeetingData& data, const std::vector<KeyedAnswer>& answered,
                                   const testservice::MeetingService::SideChanges& changedBySide) {
        const auto text = stateText(data, answered, changedBySide, port, generated);
        return text && foundation::FileManager::defaultManager().writeData(*text, path, true);
    };
}

}  // namespace

bool writeLocalServiceState(testservice::MeetingService& service, std::pair<int, int> generated) {
    // Under the service's lock, as its writes are kept: no copy of the meeting.
    return service.keepState(stateWriter(localServiceStatePath(), service.server().port(), generated));
}

void keepLocalServiceStateOnWrites(testservice::MeetingService& service, std::pair<int, int> generated) {
    // The home and the port are read here, on the run's thread; the sink
    // runs on the server's, under its lock, so the writes reach the file in
    // the order they were taken.
    service.setWriteTakenSink(stateWriter(localServiceStatePath(), service.server().port(), generated));
}

}  // namespace quovana
