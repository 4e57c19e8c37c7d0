// Class-wide helpers of the application.
#include "Utils/Utils.h"

#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"

namespace {

// The device backs up the Documents folder unless told otherwise, and the
// downloaded meeting must not go there. Linux has no such backup, so the mark
// always succeeds; the hook stays so the failure path keeps its place.
bool excludeFromBackup(const std::string&) { return true; }

}  // namespace

std::string Utils::getCurrentDirectory() {
    const std::string path = foundation::ApplicationHome::documentsDirectory() + "/Quovana Events";
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(path)) files.createDirectoryAtPath(path, true);
    if (!excludeFromBackup(path)) foundation::Log("Cannot skip backup in cloud. Won't happen");
    return path;
}
