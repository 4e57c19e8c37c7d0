#include "app/EventLoader.h"

#include "settings/ApplicationSettingsStore.h"
#include "foundation/Log.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAError.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

void EventLoader::loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                        const std::shared_ptr<QVAEvent>& event,
                                        QVAApiManagerFullDownload::ProgressBlock progressBlock, Completion completion) {
    QVAApiManagerFullDownload::loadAllDataForAccount(
        account, event, std::move(progressBlock),
        [account, event, completion = std::move(completion)](const ErrorPtr& error, const Value& importantFailed) {
            // Without account or meeting nothing was downloaded and nothing
            // is there to keep.
            if (!account || !event) {
                if (completion) completion(error);
                return;
            }
            auto outcome = finishLoading(account, event, error, importantFailed.boolValue());
            if (completion) completion(outcome);
        });
}

ErrorPtr EventLoader::finishLoading(const std::shared_ptr<QVAUserAccount>& account,
                                    const std::shared_ptr<QVAEvent>& event, const ErrorPtr& downloadError,
                                    bool importantCallFailed) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto validity = settings.persistentStoresValidity();
    const auto key = settings.getKeyForAccount(account, event);
    const auto& token = account->authenticationCode();
    const auto& eventId = event->itemId();

    if (downloadError && importantCallFailed) {
        foundation::Log(kImportantCallFailedLog);
        validity.erase(key);
        StorageManager::sharedStorageManager().removePersistentStoreForAuthToken(token, eventId);
        settings.setPersistentStoresValidity(validity);
        return QVAError::initWithDescription(kLoadingFailedMessage);
    }

    settings.setCurrentAccount(account);
    settings.setCurrentEvent(event);
    validity[key] = Value(!downloadError);
    settings.setPersistentStoresValidity(validity);
    InteractiveMapsServices::instance().downloadAndParseInteractiveMapsForAuthCode(
        token, eventId, [](const ErrorPtr& error) {
            if (error)
                foundation::Log("%@ with an error: %@", kMapsDownloadEndedLog, error->localizedDescription());
            else
                foundation::Log(kMapsDownloadEndedLog);
        });
    return nullptr;
}
