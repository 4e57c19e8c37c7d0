// The whole domain lives in memory and is written out whole after each
// change; the file is read once, when the defaults are made (or when the
// standard defaults follow a new home root). The mutex guards the dictionary
// and serialises the writes, so the file always holds one consistent state.
#include "foundation/UserDefaults.h"

#include <filesystem>

#include "foundation/ApplicationHome.h"
#include "foundation/Bundle.h"
#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/PropertyList.h"

namespace foundation {

namespace {

std::string standardPath() {
    return ApplicationHome::preferencesDirectoryPath() + "/" + Bundle::mainBundle().bundleIdentifier() + ".plist";
}

}  // namespace

UserDefaults& UserDefaults::standardUserDefaults() {
    static UserDefaults defaults(standardPath());
    defaults.switchFile(standardPath());
    return defaults;
}

UserDefaults::UserDefaults(std::string filePath) : path_(std::move(filePath)) {
    std::lock_guard lock(mutex_);
    load();
}

void UserDefaults::switchFile(std::string filePath) {
    std::lock_guard lock(mutex_);
    if (filePath == path_) return;
    path_ = std::move(filePath);
    load();
}

void UserDefaults::load() {
    values_.clear();
    dirty_ = false;
    auto& files = FileManager::defaultManager();
    if (!files.fileExistsAtPath(path_)) return;
    ErrorPtr error;
    auto data = files.contentsAtPath(path_, &error);
    Value plist = data ? PropertyListSerialization::propertyListWithData(*data, &error) : Value();
    if (auto* dict = plist.dictionary()) {
        values_ = std::move(*dict);
    } else {
        Log("UserDefaults: ignoring the unreadable settings file %@ (%@)", path_,
            error ? error->localizedDescription() : std::string("not a dictionary"));
    }
}

bool UserDefaults::saveLocked() {
    auto& files = FileManager::defaultManager();
    ErrorPtr error;
    std::string folder = std::filesystem::path(path_).parent_path().string();
    auto data = PropertyListSerialization::dataWithPropertyList(Value(values_), &error);
    bool ok = data && (folder.empty() || files.createDirectoryAtPath(folder, true, &error)) &&
              files.writeData(*data, path_, true, &error);
    dirty_ = !ok;
    if (!ok) Log("UserDefaults: could not write %@: %@", path_, error ? error->localizedDescription() : "");
    return ok;
}

std::string UserDefaults::filePath() const {
    std::lock_guard lock(mutex_);
    return path_;
}

Value UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    return it == values_.end() ? Value() : it->second;
}

void UserDefaults::setObject(const Value& value, const std::string& key) {
    if (value.isAbsent()) {
        removeObjectForKey(key);
        return;
    }
    if (!PropertyListSerialization::isPropertyList(value))
        raise(kInvalidArgumentException, "Attempt to insert a non-property-list value for key " + key);
    std::lock_guard lock(mutex_);
    values_[key] = value;
    saveLocked();
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    if (values_.erase(key) == 0 && !dirty_) return;
    saveLocked();
}

bool UserDefaults::boolForKey(const std::string& key) const {
    Value v = objectForKey(key);
    return (v.isNumber() || v.isString()) && v.boolValue();
}

int64_t UserDefaults::integerForKey(const std::string& key) const {
    Value v = objectForKey(key);
    return v.isNumber() || v.isString() ? v.integerValue() : 0;
}

double UserDefaults::doubleForKey(const std::string& key) const {
    Value v = objectForKey(key);
    return v.isNumber() || v.isString() ? v.doubleValue() : 0.0;
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    Value v = objectForKey(key);
    if (v.isString() || v.isNumber()) return v.stringValue();
    return std::nullopt;
}

std::optional<Data> UserDefaults::dataForKey(const std::string& key) const {
    Value v = objectForKey(key);
    if (!v.isData()) return std::nullopt;
    return *v.data();
}

Value::Dictionary UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void UserDefaults::removePersistentDomain() {
    std::lock_guard lock(mutex_);
    values_.clear();
    saveLocked();
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    return dirty_ ? saveLocked() : true;
}

}  // namespace foundation
