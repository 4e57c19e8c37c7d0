#include "app/EventLoader.h"

#include "settings/ApplicationSettingsStore.h"
#include "analytics/AnalyticsUtils.h"
#include "foundation/Log.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAError.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace {

// Main thread only, as every caller.
int runningLoads = 0;

}  // namespace

int EventLoader::loadsInProgress() { return runningLoads; }

void EventLoader::loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                        const std::shared_ptr<QVAEvent>& event,
                                        QVAApiManagerFullDownload::ProgressBlock progressBlock, Completion completion,
                                        bool shouldClearCacheAndReloadContent, MapsCompletion mapsCompletion) {
    ++runningLoads;
    QVAApiManagerFullDownload::loadAllDataForAccount(
        account, event, std::move(progressBlock),
        [account, event, completion = std::move(completion), shouldClearCacheAndReloadContent,
         mapsCompletion = std::move(mapsCompletion)](const ErrorPtr& error, const Value& importantFailed) {
            --runningLoads;
            // Without account or meeting nothing was downloaded and nothing
            // is there to keep.
            if (!account || !event) {
                if (completion) completion(error);
                return;
            }
            auto outcome = finishLoading(account, event, error, importantFailed.boolValue(),
                                         shouldClearCacheAndReloadContent, mapsCompletion);
            if (completion) completion(outcome);
        });
}

ErrorPtr EventLoader::finishLoading(const std::shared_ptr<QVAUserAccount>& account,
                                    const std::shared_ptr<QVAEvent>& event, const ErrorPtr& downloadError,
                                    bool importantCallFailed, bool shouldClearCacheAndReloadContent,
                                    MapsCompletion mapsCompletion) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto validity = settings.persistentStoresValidity();
    const auto key = settings.getKeyForAccount(account, event);
    const auto& token = account->authenticationCode();
    const auto& eventId = event->itemId();
    auto& storage = StorageManager::sharedStorageManager();

    if (downloadError && importantCallFailed) {
        foundation::Log(kImportantCallFailedLog);
        // The copy of the previous store is to be put back: nothing here may
        // touch the store or its entry.
        if (shouldClearCacheAndReloadContent) return QVAError::initWithDescription(kLoadingFailedMessage);
        validity.erase(key);
        storage.removePersistentStoreForAuthToken(token, eventId);
        settings.setPersistentStoresValidity(validity);
        return QVAError::initWithDescription(kLoadingFailedMessage);
    }

    if (shouldClearCacheAndReloadContent) {
        storage.deleteCachedCopyOfPersistentStoreForAuthToken(token, eventId);
        settings.dropPersistentStoresValidityBeforeReload();
    }
    settings.setCurrentAccount(account);
    settings.setCurrentEvent(event);
    validity[key] = Value(!downloadError);
    AnalyticsUtils::registerSuperProperties();
    InteractiveMapsServices::instance().downloadAndParseInteractiveMapsForAuthCode(
        token, eventId, [mapsCompletion = std::move(mapsCompletion)](const ErrorPtr& error) {
            if (error)
                foundation::Log("%@ with an error: %@", kMapsDownloadEndedLog, error->localizedDescription());
            else
                foundation::Log(kMapsDownloadEndedLog);
            if (mapsCompletion) mapsCompletion(error);
        });
    settings.setPersistentStoresValidity(validity);
    return nullptr;
}
