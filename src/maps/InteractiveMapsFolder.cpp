#include "maps/InteractiveMapsFolder.h"

#include "Utils/Utils.h"
#include "settings/ApplicationSettingsStore.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

std::optional<std::string> InteractiveMapsFolder::pathOfMapFolderFile(const std::string& fileName) const {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !account->authenticationCode() || !event || !event->itemId()) return std::nullopt;
    return pathOfMapFile(fileName, *account->authenticationCode(), *event->itemId());
}

std::optional<std::string> InteractiveMapsFolder::pathOfMapFile(const std::string& fileName,
                                                                const std::string& authToken,
                                                                const std::string& eventId) const {
    return Utils::cacheImapsUrlStringForFileName(fileName, authToken, eventId);
}
