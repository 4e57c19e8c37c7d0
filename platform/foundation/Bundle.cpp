// Identity constants of this build. The information dictionary starts from
// them; the getters read the dictionary, so a test or the command-line front
// that overrides an entry is seen everywhere.
#include "foundation/Bundle.h"

#include <cstdlib>
#include <filesystem>

#include "foundation/FileManager.h"

namespace foundation {

namespace {

constexpr const char* kIdentifier = "com.quovana.events";
constexpr const char* kExecutable = "Quovana";
constexpr const char* kShortVersion = "3.4";
constexpr const char* kBuildVersion = "3.4.0";

std::string defaultResourcePath() {
    if (const char* path = std::getenv("QVA_RESOURCES"); path && *path) return path;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "Resources";
    return (exe.parent_path() / "Resources").string();
}

}  // namespace

Bundle& Bundle::mainBundle() {
    static Bundle bundle;
    return bundle;
}

Bundle::Bundle() : resourcePath_(defaultResourcePath()) {
    info_[kBundleIdentifierKey] = Value(kIdentifier);
    info_[kBundleExecutableKey] = Value(kExecutable);
    info_[kBundleNameKey] = Value(kExecutable);
    info_[kBundleShortVersionStringKey] = Value(kShortVersion);
    info_[kBundleVersionKey] = Value(kBuildVersion);
}

std::string Bundle::bundleIdentifier() const { return objectForInfoDictionaryKey(kBundleIdentifierKey).stringValue(); }
std::string Bundle::executableName() const { return objectForInfoDictionaryKey(kBundleExecutableKey).stringValue(); }
std::string Bundle::shortVersionString() const {
    return objectForInfoDictionaryKey(kBundleShortVersionStringKey).stringValue();
}
std::string Bundle::bundleVersion() const { return objectForInfoDictionaryKey(kBundleVersionKey).stringValue(); }

std::string Bundle::resourcePath() const {
    std::lock_guard lock(mutex_);
    return resourcePath_;
}

void Bundle::setResourcePath(std::string path) {
    std::lock_guard lock(mutex_);
    resourcePath_ = std::move(path);
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const {
    std::string path = resourcePath() + "/" + name + (type.empty() ? "" : "." + type);
    if (!FileManager::defaultManager().fileExistsAtPath(path)) return std::nullopt;
    return path;
}

std::string Bundle::localizedStringForKey(const std::string& key, const std::string& value,
                                          const std::string& table) const {
    std::lock_guard lock(mutex_);
    auto t = tables_.find(table.empty() ? kDefaultTable : table);
    if (t != tables_.end()) {
        auto entry = t->second.find(key);
        if (entry != t->second.end()) return entry->second;
    }
    return value.empty() ? key : value;
}

void Bundle::setStringTable(const std::string& table, StringTable entries) {
    std::lock_guard lock(mutex_);
    tables_[table.empty() ? kDefaultTable : table] = std::move(entries);
}

Value Bundle::infoDictionary() const {
    std::lock_guard lock(mutex_);
    return Value(info_);
}

Value Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = info_.find(key);
    return it == info_.end() ? Value() : it->second;
}

void Bundle::setInfoDictionaryValue(const std::string& key, Value value) {
    std::lock_guard lock(mutex_);
    if (value.isAbsent()) {
        info_.erase(key);
    } else {
        info_[key] = std::move(value);
    }
}

}  // namespace foundation
