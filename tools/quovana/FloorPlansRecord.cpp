#include "quovana/FloorPlansRecord.h"

#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "foundation/JSONSerialization.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

namespace quovana {

namespace {

std::string floorPlansRecordPath() { return foundation::ApplicationHome::libraryDirectory() + "/floor-plans.json"; }

}  // namespace

bool recordFloorPlansOutcome(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event,
                             const std::optional<std::string>& missing) {
    auto& files = foundation::FileManager::defaultManager();
    const std::string path = floorPlansRecordPath();
    // One meeting's plans at a time: a load of another meeting, or one that
    // got them, leaves nothing to warn of.
    if (!missing) return !files.fileExistsAtPath(path) || files.removeItemAtPath(path);
    const std::string store =
        ApplicationSettingsStore::sharedApplicationSettingsStore().getKeyForAccount(account, event);
    const foundation::Value record(
        foundation::Value::Dictionary{{"store", foundation::Value(store)}, {"missing", foundation::Value(*missing)}});
    auto data = foundation::JSONSerialization::dataWithJSONObject(record);
    return data && files.writeData(*data, path, true);
}

std::optional<std::string> recordedMissingFloorPlans(const std::shared_ptr<QVAUserAccount>& account,
                                                     const std::shared_ptr<QVAEvent>& event) {
    auto data = foundation::FileManager::defaultManager().contentsAtPath(floorPlansRecordPath());
    if (!data) return std::nullopt;
    const auto record = foundation::JSONSerialization::JSONObjectWithData(*data);
    const auto* store = record["store"].string();
    const auto* missing = record["missing"].string();
    if (!store || !missing ||
        *store != ApplicationSettingsStore::sharedApplicationSettingsStore().getKeyForAccount(account, event))
        return std::nullopt;
    return *missing;
}

}  // namespace quovana
