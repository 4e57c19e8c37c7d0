#include "api/DeltaLeftOutRows.h"

#include "model/ModelReading.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"

using foundation::Value;

namespace {

std::string leftOutStoreKey(const DeltaLeftOutRows::Text& authCode, const DeltaLeftOutRows::Text& eventId) {
    return StorageManager::sharedStorageManager().getDatabaseKeyForAuthToken(authCode, eventId);
}

}  // namespace

DeltaLeftOutRows DeltaLeftOutRows::read(const Text& authCode, const Text& eventId, const std::string& entityName) {
    DeltaLeftOutRows rows;
    const auto all = ApplicationSettingsStore::sharedApplicationSettingsStore().deltaLeftOutRows();
    auto store = all.find(leftOutStoreKey(authCode, eventId));
    if (store == all.end() || !store->second.dictionary()) return rows;
    auto kind = store->second.dictionary()->find(entityName);
    if (kind == store->second.dictionary()->end() || !kind->second.dictionary()) return rows;
    for (const auto& [id, revision] : *kind->second.dictionary()) {
        if (const std::string* text = revision.string(); text && rows.size() < kMaximumRows)
            rows.revisions_.emplace(id, *text);
    }
    return rows;
}

void DeltaLeftOutRows::write(const Text& authCode, const Text& eventId, const std::string& entityName,
                             const DeltaLeftOutRows& before) const {
    if (*this == before) return;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto all = settings.deltaLeftOutRows();
    const std::string key = leftOutStoreKey(authCode, eventId);
    Value::Dictionary kinds;
    if (auto store = all.find(key); store != all.end() && store->second.dictionary()) kinds = *store->second.dictionary();
    if (revisions_.empty()) {
        kinds.erase(entityName);
    } else {
        Value::Dictionary kind;
        for (const auto& [id, revision] : revisions_) kind.emplace(id, Value(revision));
        kinds[entityName] = Value(std::move(kind));
    }
    if (kinds.empty())
        all.erase(key);
    else
        all[key] = Value(std::move(kinds));
    settings.setDeltaLeftOutRows(all.empty() ? std::nullopt : std::optional<Value::Dictionary>(std::move(all)));
}

bool DeltaLeftOutRows::isLeftOutAt(const std::string& id, const Value& revision) const {
    auto kept = revisions_.find(id);
    if (kept == revisions_.end()) return false;
    auto listed = ModelReading::textOf(revision);
    return listed && *listed == kept->second;
}

void DeltaLeftOutRows::add(const std::string& id, const Value& revision) {
    if (revisions_.size() >= kMaximumRows && !revisions_.count(id)) return;
    if (auto text = ModelReading::textOf(revision)) revisions_[id] = *text;
}
