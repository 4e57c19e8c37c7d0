// The root is process-wide state behind a mutex; the directory paths are
// derived from it on every call, so a test that moves the root sees every
// later path follow.
#include "foundation/ApplicationHome.h"

#include <cstdlib>
#include <mutex>
#include <optional>

#include "foundation/FileManager.h"

namespace foundation {

namespace {

std::mutex& rootMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::string>& rootSlot() {
    static std::optional<std::string> slot;
    return slot;
}

std::string defaultRoot() {
    if (const char* home = std::getenv("QVA_HOME"); home && *home) return home;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data) + "/quovana";
    const char* user = std::getenv("HOME");
    return std::string(user && *user ? user : ".") + "/.local/share/quovana";
}

std::string ensured(const std::string& path) {
    FileManager::defaultManager().createDirectoryAtPath(path, true);
    return path;
}

}  // namespace

std::string ApplicationHome::root() {
    std::lock_guard lock(rootMutex());
    if (!rootSlot()) rootSlot() = defaultRoot();
    return *rootSlot();
}

void ApplicationHome::setRoot(std::string root) {
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    std::lock_guard lock(rootMutex());
    rootSlot() = std::move(root);
}

std::string ApplicationHome::documentsDirectory() { return ensured(root() + "/Documents"); }
std::string ApplicationHome::libraryDirectory() { return ensured(root() + "/Library"); }
std::string ApplicationHome::cachesDirectory() { return ensured(root() + "/Library/Caches"); }
std::string ApplicationHome::preferencesDirectory() { return ensured(preferencesDirectoryPath()); }
std::string ApplicationHome::preferencesDirectoryPath() { return root() + "/Library/Preferences"; }

}  // namespace foundation
