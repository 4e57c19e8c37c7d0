#include "app/AppDataClearing.h"

#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"

void AppDataClearing::clearAppDataAndSettings() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const auto account = settings.currentAccount();
    const auto event = settings.currentEvent();
    const auto authToken = account ? account->authenticationCode() : std::nullopt;
    const auto eventId = event ? event->itemId() : std::nullopt;

    if (settings.syncWithCalendar())
        ApplicationService::syncCalendarService()->unsyncWithDeviceCalendarForAuthToken(authToken, eventId, {});
    InteractiveMapsServices::instance().clearAllImapsResourcesAndDataOnLogoutOrSwitchUser();
    StorageManager::sharedStorageManager().clear();
    settings.clear();
    QVAApiManager::sharedApiManager().clearAuthorizationHeader();
}
