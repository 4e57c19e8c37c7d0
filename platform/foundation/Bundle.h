// The application bundle: its identity (identifier, executable name, version
// strings), its resources directory, its string tables and its information
// dictionary. The identity comes from build constants and seeds the
// information dictionary, which later code may extend. A lookup that finds no
// translation gives back the key, so untranslated texts show in English.
// Thread-safe.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Value.h"

namespace foundation {

// Keys of the information dictionary.
inline constexpr const char* kBundleIdentifierKey = "CFBundleIdentifier";
inline constexpr const char* kBundleExecutableKey = "CFBundleExecutable";
inline constexpr const char* kBundleNameKey = "CFBundleName";
inline constexpr const char* kBundleVersionKey = "CFBundleVersion";
inline constexpr const char* kBundleShortVersionStringKey = "CFBundleShortVersionString";

class Bundle {
public:
    using StringTable = std::map<std::string, std::string>;

    static Bundle& mainBundle();

    std::string bundleIdentifier() const;
    std::string executableName() const;
    std::string shortVersionString() const;
    std::string bundleVersion() const;

    // $QVA_RESOURCES when set, else "Resources" beside the executable.
    std::string resourcePath() const;
    void setResourcePath(std::string path);
    // The path of "name.type" in the resources directory, when that file exists.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;

    // The table's text for the key; else the value when it is not empty; else the key.
    std::string localizedStringForKey(const std::string& key, const std::string& value,
                                      const std::string& table = kDefaultTable) const;
    std::string localizedString(const std::string& key, const std::string& table = kDefaultTable) const {
        return localizedStringForKey(key, std::string(), table);
    }
    // Replaces a whole table (an empty name means the default table).
    void setStringTable(const std::string& table, StringTable entries);

    Value infoDictionary() const;
    Value objectForInfoDictionaryKey(const std::string& key) const;
    void setInfoDictionaryValue(const std::string& key, Value value);

    static constexpr const char* kDefaultTable = "Localizable";

private:
    Bundle();

    mutable std::mutex mutex_;
    std::string resourcePath_;
    std::map<std::string, StringTable> tables_;
    Value::Dictionary info_;
};

}  // namespace foundation
