// Keyed archives: objects and values turned into bytes and back, each object
// recorded with its class name and its fields by key. An object takes part by
// deriving from Coding (it writes its fields in encodeWithCoder) and by a
// factory registered under its class name (it reads them back from a
// KeyedUnarchiver). Any Value may be the root, so a plain string, number or
// dictionary archives on its own.
//
// The bytes are our own self-describing format: the magic "QVKA", a version
// byte, then one tagged value (see KeyedArchiver.cpp). Reading never throws
// and never trusts a length: truncated, corrupt or over-deep data, a newer
// version or an unregistered class name all read as nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace foundation {

class KeyedArchiver;
class KeyedUnarchiver;

// An object that can be written to a keyed archive. className() is the name
// the archive records and the registry looks up.
class Coding : public Object {
public:
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
};

class KeyedArchiver {
public:
    // Builds an object from its archived fields (the object's initWithCoder).
    // Returning null makes that object read as nil.
    using Factory = std::function<ObjectPtr(KeyedUnarchiver& coder)>;

    // Registers (or replaces) the factory of a class name. Thread-safe.
    static void registerClass(const std::string& className, Factory factory);

    // The archive of any value: absent (an archive of nil), the null marker,
    // numbers, strings, data, dates, arrays, dictionaries and Coding objects,
    // nested freely. An object that is not Coding, or nesting deeper than
    // kMaxDepth (a cycle), is a programming error and raises.
    static Data archivedDataWithRootObject(const Value& root);

    // Fields of the object being encoded. A later write under the same key replaces the earlier one.
    void encodeObject(const Value& value, const std::string& key);
    void encodeBool(bool value, const std::string& key);
    void encodeInt32(int32_t value, const std::string& key);
    void encodeInt64(int64_t value, const std::string& key);
    void encodeDouble(double value, const std::string& key);
    template <class T>
    void encodeObjects(const std::vector<std::shared_ptr<T>>& objects, const std::string& key) {
        Value::Array array;
        array.reserve(objects.size());
        for (const auto& o : objects) array.emplace_back(o);
        encodeObject(Value(std::move(array)), key);
    }

    static constexpr size_t kMaxDepth = 512;

private:
    KeyedArchiver() = default;
    friend class ArchiveWriter;
    Value::Dictionary fields_;
};

class KeyedUnarchiver {
public:
    // The root value; absent when the data is not a readable archive (or archives nil).
    static Value unarchiveValueWithData(const Data& data);
    // The root object; null when unreadable or when the root is not an object.
    static ObjectPtr unarchiveObjectWithData(const Data& data);
    template <class T>
    static std::shared_ptr<T> unarchiveObjectOfClass(const Data& data) {
        return std::dynamic_pointer_cast<T>(unarchiveObjectWithData(data));
    }

    // Reading the current object's fields. An absent key (or one of another
    // kind) reads as nil, NO, 0 or 0.0.
    bool containsValueForKey(const std::string& key) const;
    const Value& decodeObjectForKey(const std::string& key) const;
    std::optional<std::string> decodeStringForKey(const std::string& key) const;
    bool decodeBoolForKey(const std::string& key) const;
    int32_t decodeInt32ForKey(const std::string& key) const;
    int64_t decodeInt64ForKey(const std::string& key) const;
    double decodeDoubleForKey(const std::string& key) const;
    template <class T>
    std::shared_ptr<T> decodeObjectOfClass(const std::string& key) const {
        return decodeObjectForKey(key).template objectAs<T>();
    }
    // The elements of an archived array that are objects of class T, in order.
    template <class T>
    std::vector<std::shared_ptr<T>> decodeArrayOfObjectsOfClass(const std::string& key) const {
        std::vector<std::shared_ptr<T>> out;
        if (const auto* array = decodeObjectForKey(key).array()) {
            for (const auto& item : *array) {
                if (auto o = item.template objectAs<T>()) out.push_back(std::move(o));
            }
        }
        return out;
    }

private:
    explicit KeyedUnarchiver(Value::Dictionary fields) : fields_(std::move(fields)) {}
    friend class ArchiveReader;
    Value::Dictionary fields_;
};

}  // namespace foundation
