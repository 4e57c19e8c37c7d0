#include "api/MapFilesHook.h"

#include "api/InstalledHook.h"

namespace {

InstalledHook<MapFilesHook::MapFiles>& installedMapFiles() {
    static InstalledHook<MapFilesHook::MapFiles> mapFiles;
    return mapFiles;
}

}  // namespace

void MapFilesHook::install(MapFiles mapFiles) { installedMapFiles().set(std::move(mapFiles)); }

MapFilesHook::Links MapFilesHook::links(const Text& authCode, const Text& eventId) {
    auto mapFiles = installedMapFiles().get();
    return mapFiles.links ? mapFiles.links(authCode, eventId) : Links();
}

void MapFilesHook::renewFiles(const Text& authCode, const Text& eventId) {
    auto mapFiles = installedMapFiles().get();
    if (mapFiles.renewFiles) mapFiles.renewFiles(authCode, eventId);
}
