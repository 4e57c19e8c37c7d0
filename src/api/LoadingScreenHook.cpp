#include "api/LoadingScreenHook.h"

#include "api/InstalledHook.h"
#include "foundation/Log.h"

namespace {

InstalledHook<LoadingScreenHook::Loader>& installedLoader() {
    static InstalledHook<LoadingScreenHook::Loader> loader;
    return loader;
}

}  // namespace

void LoadingScreenHook::setLoader(Loader loader) { installedLoader().set(std::move(loader)); }

bool LoadingScreenHook::presentLoadingScreen(const std::shared_ptr<QVAUserAccount>& account,
                                             const std::string& eventId) {
    Loader loader = installedLoader().get();
    if (!loader) {
        foundation::Log("No loading screen to present for event %@", eventId);
        return false;
    }
    loader(account, eventId);
    return true;
}
