// The application's settings: a dictionary of property-list values kept in
// one XML property list per application, <home>/Library/Preferences/<bundle
// identifier>.plist. Every change is written to disk at once, atomically (a
// temporary file renamed over the old one), so another process, or the next
// run, reads either the old settings or the new ones, never half a file. A
// missing or corrupt file reads as empty. All members are thread-safe.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/Value.h"

namespace foundation {

class UserDefaults {
public:
    // The application's defaults, in the preferences folder of the current
    // home root; after ApplicationHome::setRoot it switches to the new root's file.
    static UserDefaults& standardUserDefaults();

    // Defaults kept in the given file (read now, if it exists).
    explicit UserDefaults(std::string filePath);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // Absent when the key holds nothing.
    Value objectForKey(const std::string& key) const;
    // The value must be a property list (no null marker, no objects): anything
    // else is a programming error and raises. An absent value removes the key.
    void setObject(const Value& value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // Typed reads: numbers and numeric strings convert; anything else gives NO / 0 / nothing.
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    // A string, or a number's text.
    std::optional<std::string> stringForKey(const std::string& key) const;
    std::optional<Data> dataForKey(const std::string& key) const;
    void setBool(bool value, const std::string& key) { setObject(Value(value), key); }
    void setInteger(int64_t value, const std::string& key) { setObject(Value(value), key); }
    void setDouble(double value, const std::string& key) { setObject(Value(value), key); }

    Value::Dictionary dictionaryRepresentation() const;
    // Empties the whole domain (the file stays, holding an empty dictionary).
    void removePersistentDomain();
    // Writes what a failed earlier write left unsaved. True when the file holds every change.
    bool synchronize();

    std::string filePath() const;

private:
    void load();
    bool saveLocked();
    void switchFile(std::string filePath);

    mutable std::mutex mutex_;
    std::string path_;
    Value::Dictionary values_;
    bool dirty_ = false;
};

}  // namespace foundation
