#include "app/AppAnalyticsSuperPropertiesProvider.h"

#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"

std::optional<std::string> AppAnalyticsSuperPropertiesProvider::eventId() const {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

std::optional<std::string> AppAnalyticsSuperPropertiesProvider::eventName() const {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->eventName() : std::nullopt;
}

std::optional<std::string> AppAnalyticsSuperPropertiesProvider::userId() const {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    return account ? account->itemId() : std::nullopt;
}
