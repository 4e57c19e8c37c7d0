// How every model reads its fields: one reader over a JSON dictionary of the
// service, a stored row given as a dictionary, or a stored object, with the
// conversions all models share. A missing key and the null marker read alike,
// as nothing; nothing here fails on a value of an unexpected kind. The store's
// mapping uses arrayValue to archive model arrays into binary attributes.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/JSONFields.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/Value.h"

namespace coredata {
class KeyValueCoding;
}

namespace ModelReading {

using Text = std::optional<std::string>;

// A text field's value: a text as it came, a number as its decimal text.
// Collections and other kinds have no text form a screen or a string column
// could use, so they read as nil.
Text textOf(const foundation::Value& value);
// The same inside a flattened entry ("id|type", entries joined by ";"),
// where nil reads as "", and so does a text holding either separator: the
// screens split the entries back at them, and "7;8" would read as two
// entries, naming objects the service did not name.
std::string entryTextOf(const foundation::Value& value);
// A service id inside a flattened entry: idOf, where none, or one holding
// a separator of the entries, reads as "".
std::string entryIdOf(const foundation::Value& value);
// A text back as a value: nil is the absent value.
foundation::Value valueOf(const Text& text);

// The one rule for a service id, wherever a list's rows are read (models,
// revision listings): a non-empty text, or a JSON integer as its decimal
// digits (42 is "42"; 42.0 and 4.2e1 are none, as for an integer id, so
// they never name the object "42"). Null, Booleans, other numbers,
// empty texts, lists and objects are no id: the delta could neither list,
// fetch nor remove such a row, and no path can name it.
bool isUsableIdText(std::string_view text);
Text idOf(const foundation::Value& value);
// The one rule for an integer id (a message's, its thread's, its sender's):
// a JSON integer, or the canonical decimal text of one ("0", or digits
// without a leading zero, "-" only before a number other than 0), from
// `least` up to 2^31-1. Anything else is none, never a number near it or
// another spelling of one: a real (7.0), "07", "+7", " 7", "7x", "1e4",
// "", null, Booleans, collections, and a number out of range (2147483648),
// so two objects of the service never read as one.
std::optional<int32_t> int32IdOf(const foundation::Value& value, int32_t least = INT32_MIN);
std::optional<int32_t> int32IdOfText(std::string_view text, int32_t least = INT32_MIN);

class FieldReader {
public:
    // A dictionary (JSON or a row); a value of any other kind reads as empty.
    explicit FieldReader(const foundation::Value& dictionary) : dictionary_(&dictionary) {}
    // A stored object, read through its properties.
    explicit FieldReader(const coredata::KeyValueCoding& object) : object_(&object) {}
    // An object of a JSON page as it is read, with no dictionary made of it:
    // the same fields read the same as from its dictionary.
    explicit FieldReader(const foundation::JSONFields& fields) : fields_(&fields) {}

    // Absent for a missing key and for the null marker.
    foundation::Value value(std::string_view key) const;
    // The scalar reads look into a dictionary in place: a row of a page has
    // some twenty fields, and a copy of each value on the way to its field
    // was a good part of what mapping a page cost.
    Text text(std::string_view key) const;
    // The value under `key` as a service id (`idOf`).
    Text id(std::string_view key) const;
    // The value under `key` as an integer id (`int32IdOf`).
    std::optional<int32_t> int32Id(std::string_view key, int32_t least = INT32_MIN) const;
    // A quantity, never an id: truncated toward zero; a text is read by its
    // leading number.
    int32_t int32(std::string_view key) const;
    double real(std::string_view key) const;
    bool boolean(std::string_view key) const;
    // The value when it is an array, else absent.
    foundation::Value array(std::string_view key) const;
    // The value when it is a dictionary, else absent.
    foundation::Value dictionary(std::string_view key) const;

    // The objects of class T inside the keyed archive held under `key`
    // (a binary attribute of a row); empty when there is none or it is unreadable.
    template <class T>
    std::vector<std::shared_ptr<T>> archivedObjects(std::string_view key) const {
        std::vector<std::shared_ptr<T>> out;
        foundation::Value stored = value(key);
        const foundation::Data* data = stored.data();
        if (!data) return out;
        foundation::Value root = foundation::KeyedUnarchiver::unarchiveValueWithData(*data);
        if (const auto* items = root.array()) {
            for (const auto& item : *items) {
                if (auto object = item.objectAs<T>()) out.push_back(std::move(object));
            }
        }
        return out;
    }

private:
    // The value under `key`, absent when it is missing or the null marker:
    // a dictionary's own, in place; an object's, read into `held`.
    const foundation::Value& lookUp(std::string_view key, foundation::Value& held) const;

    const foundation::Value* dictionary_ = nullptr;
    const coredata::KeyValueCoding* object_ = nullptr;
    const foundation::JSONFields* fields_ = nullptr;
};

// The array of `items` as a value, for archives and key-value reads.
template <class T>
foundation::Value arrayValue(const std::vector<std::shared_ptr<T>>& items) {
    foundation::Value::Array array;
    array.reserve(items.size());
    for (const auto& item : items) array.emplace_back(item);
    return foundation::Value(std::move(array));
}

}  // namespace ModelReading
