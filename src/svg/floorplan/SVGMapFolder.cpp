// Reading map-folder images. A name from the file is only ever a name inside
// the folder: anything that could step out of it is refused before a path is
// asked for.
#include "svg/floorplan/SVGMapFolder.h"

#include <atomic>

#include "foundation/FileManager.h"

namespace svg {

namespace {

std::atomic<const SVGMapFolder*> registeredFolder{nullptr};

}  // namespace

bool SVGMapFolder::isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

void SVGMapFolder::registerMapFolder(const SVGMapFolder* folder) { registeredFolder.store(folder); }

const SVGMapFolder* SVGMapFolder::registeredMapFolder() { return registeredFolder.load(); }

graphics::BitmapPtr SVGMapFolder::getImageFromSavedLocalFileName(const std::string& fileName) {
    const SVGMapFolder* folder = registeredFolder.load();
    if (!folder || !isPlainFileName(fileName)) return nullptr;
    auto path = folder->pathOfMapFolderFile(fileName);
    if (!path) return nullptr;
    auto data = foundation::FileManager::defaultManager().contentsAtPath(*path);
    if (!data) return nullptr;
    return graphics::Bitmap::fromPNGData(*data);
}

std::optional<std::string> SVGMapFolder::pathOfSavedMapFile(const std::string& fileName, const std::string& authToken,
                                                            const std::string& eventId) {
    const SVGMapFolder* folder = registeredFolder.load();
    if (!folder || !isPlainFileName(fileName)) return std::nullopt;
    return folder->pathOfMapFile(fileName, authToken, eventId);
}

}  // namespace svg
