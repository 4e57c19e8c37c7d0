#include "api/LoadingScreenHook.h"

#include <mutex>

#include "foundation/Log.h"

namespace {

std::mutex loaderMutex;
LoadingScreenHook::Loader& installedLoader() {
    static LoadingScreenHook::Loader loader;
    return loader;
}

}  // namespace

void LoadingScreenHook::setLoader(Loader loader) {
    std::lock_guard<std::mutex> lock(loaderMutex);
    installedLoader() = std::move(loader);
}

bool LoadingScreenHook::presentLoadingScreen(const std::shared_ptr<QVAUserAccount>& account,
                                             const std::string& eventId) {
    Loader loader;
    {
        std::lock_guard<std::mutex> lock(loaderMutex);
        loader = installedLoader();
    }
    if (!loader) {
        foundation::Log("No loading screen to present for event %@", eventId);
        return false;
    }
    // Called outside the lock: the loader may install another one.
    loader(account, eventId);
    return true;
}
