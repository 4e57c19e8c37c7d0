// The maps service's clears. The collections are written without locks by
// the parse runs on the parse queue, so they are emptied there too: a clear
// asked for during a run waits for the run's end instead of racing it.
#include "maps/InteractiveMapsServices.h"

#include "Utils/Utils.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "settings/ApplicationSettingsStore.h"
#include "svg/image/SVGXImage.h"

void InteractiveMapsServices::clearInMemoryResources(std::function<void()> completion) {
    invalidateMapRuns();
    clearPositioningState();
    parseQueue()->async([this, completion = std::move(completion)] {
        {
            std::lock_guard<std::mutex> lock(parseMutex_);
            clearCollections();
            currentFloorIdentifier_.reset();
            // Only a parse run raises the switch, floor by floor; a plan
            // loaded for display after a clear must store nothing.
            shouldConstruct_ = false;
        }
        beaconsOnLoadedMaps_ = 0;
        svg::SVGXImage::clearCachedResources();
        ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentEventHasIMapsLoadedInMemory(false);
        if (completion) dispatch::Queue::main()->async(completion);
    });
}

void InteractiveMapsServices::clearAllImapsResourcesAndDataOnLogoutOrSwitchUser(std::function<void()> completion) {
    clearInMemoryResources(std::move(completion));
    auto& files = foundation::FileManager::defaultManager();
    const std::string directory = Utils::cacheImapsDirectory();
    if (!files.fileExistsAtPath(directory)) return;
    foundation::ErrorPtr error;
    if (!files.removeItemAtPath(directory, &error))
        foundation::Log("The map files could not be deleted: %@", error ? error->localizedDescription() : std::string());
}

void InteractiveMapsServices::clearInMemoryResourcesOnClearCacheAndReloadContent() { clearInMemoryResources(); }
