// The walk reads every value the document holds, each once and in order, so
// the on-demand parser checks the whole text as it goes; the text's end is
// checked after the walk.
#include "foundation/JSONValueReader.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "foundation/SimdJSON.h"

namespace foundation {

namespace {

namespace od = simdjson::ondemand;
using simdjson::error_code;
using simdjson::SUCCESS;

class Walk {
public:
    explicit Walk(size_t maxDepth, bool refuseRepeatedKeys = false)
        : maxDepth_(maxDepth), refuseRepeatedKeys_(refuseRepeatedKeys) {}

    // Whether the walk stopped at a key its object gave before.
    bool metRepeatedKey() const { return metRepeatedKey_; }

    error_code array(od::array items, Value& out, size_t depth) {
        if (depth > maxDepth_) return simdjson::DEPTH_ERROR;
        // The elements of every open array wait on one stack and become
        // their array, allocated once at its size, when it closes.
        const size_t first = elements_.size();
        for (auto element : items) {
            od::value v;
            if (auto e = element.get(v)) return e;
            Value item;
            if (auto e = value(v, item, depth)) return e;
            elements_.push_back(std::move(item));
        }
        const auto begin = elements_.begin() + static_cast<std::ptrdiff_t>(first);
        out = Value(Value::Array(std::make_move_iterator(begin), std::make_move_iterator(elements_.end())));
        elements_.erase(begin, elements_.end());
        return SUCCESS;
    }

    error_code object(od::object fields, Value& out, size_t depth) {
        if (depth > maxDepth_) return simdjson::DEPTH_ERROR;
        Value::Dictionary entries;
        for (auto field : fields) {
            std::string_view key;
            if (auto e = field.unescaped_key().get(key)) return e;
            od::value v;
            if (auto e = field.value().get(v)) return e;
            Value item;
            if (auto e = value(v, item, depth)) return e;
            // Keys mostly come in order (the service writes them so), and
            // then each goes in at the end without a search. A repeated key
            // keeps the last value, or ends the reading when refused.
            if (entries.empty() || entries.rbegin()->first < key) {
                entries.emplace_hint(entries.end(), key, std::move(item));
            } else if (!refuseRepeatedKeys_) {
                entries.insert_or_assign(std::string(key), std::move(item));
            } else if (!entries.emplace(std::string(key), std::move(item)).second) {
                metRepeatedKey_ = true;
                return simdjson::TAPE_ERROR;
            }
        }
        out = Value(std::move(entries));
        return SUCCESS;
    }

    // An object's fields into `out`, strings as views; containers as
    // values, read at the depth of the object's own values.
    error_code fields(od::object source, JSONFields& out, size_t depth) {
        if (depth > maxDepth_) return simdjson::DEPTH_ERROR;
        auto& fields = out.fields();
        fields.clear();
        for (auto field : source) {
            JSONFields::Field read;
            if (auto e = field.unescaped_key().get(read.key)) return e;
            od::value v;
            if (auto e = field.value().get(v)) return e;
            od::json_type type;
            if (auto e = v.type().get(type)) return e;
            if (type == od::json_type::string) {
                if (auto e = v.get_string().get(read.text)) return e;
                read.isText = true;
            } else if (auto e = value(v, read.value, depth)) {
                return e;
            }
            fields.push_back(std::move(read));
        }
        return SUCCESS;
    }

    error_code value(od::value v, Value& out, size_t depth) {
        od::json_type type;
        if (auto e = v.type().get(type)) return e;
        if (type == od::json_type::array) {
            od::array items;
            if (auto e = v.get_array().get(items)) return e;
            return array(items, out, depth + 1);
        }
        if (type == od::json_type::object) {
            od::object fields;
            if (auto e = v.get_object().get(fields)) return e;
            return object(fields, out, depth + 1);
        }
        return simdjsontext::scalar(v, type, out);
    }

private:
    size_t maxDepth_;
    bool refuseRepeatedKeys_;
    bool metRepeatedKey_ = false;
    std::vector<Value> elements_;
};

}  // namespace

// The parser reads a value alone in the text with less care than one inside
// a container: it takes "nullu" for null, and a number only from a short
// copy that blanks after it or many digits overflow. Such a value is read
// as the one element of an array instead.
Value JSONValueReader::readScalarAlone(std::string_view text) {
    std::string wrapped;
    wrapped.reserve(text.size() + 2 + Data::kReadPadding);
    wrapped.append("[").append(text).append("]");
    JSONValueReader reader(wrapped, wrapped.capacity(), false, maxDepth_);
    Value list = reader.read();
    if (list.count() != 1) {
        message_ = list.isAbsent() ? reader.message() : "Garbage after the JSON text.";
        return Value();
    }
    return list.at(0);
}

bool JSONValueReader::checkedText(std::string_view& text, size_t& capacity) {
    // JSON has no place for a NUL byte, in a string or out of it.
    if (text.find('\0') != std::string_view::npos) {
        message_ = "A NUL byte in the text.";
        return false;
    }
    // A byte order mark may lead the text; it is not part of it.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        capacity -= 3;
    }
    return true;
}

Value JSONValueReader::read() {
    std::string_view text = text_;
    size_t capacity = capacity_;
    if (!checkedText(text, capacity)) return Value();
    auto fail = [this](error_code e) {
        message_ = std::string(simdjson::error_message(e)) + ".";
        return Value();
    };
    od::document document;
    if (auto e = simdjsontext::iterate(text, capacity).get(document)) return fail(e);
    od::json_type type;
    if (auto e = document.type().get(type)) return fail(e);
    Walk walk(maxDepth_, refuseRepeatedKeys_);
    Value out;
    error_code e = SUCCESS;
    if (type == od::json_type::array) {
        od::array items;
        e = document.get_array().get(items);
        if (!e) e = walk.array(items, out, 1);
    } else if (type == od::json_type::object) {
        od::object fields;
        e = document.get_object().get(fields);
        if (!e) e = walk.object(fields, out, 1);
    } else if (!allowFragments_) {
        message_ = "JSON text did not start with array or object and option to allow fragments not set.";
        return Value();
    } else {
        return readScalarAlone(text);
    }
    if (e && walk.metRepeatedKey()) {
        message_ = "An object gives a key twice.";
        return Value();
    }
    if (e) return fail(e);
    // Past the last token the document has no location.
    const char* rest = nullptr;
    if (document.current_location().get(rest) != simdjson::OUT_OF_BOUNDS) return fail(simdjson::TRAILING_CONTENT);
    return out;
}

JSONValueReader::Elements JSONValueReader::readElements(const std::function<void(const JSONFields&)>& eachObject,
                                                        const std::function<void(Value)>& eachOther) {
    std::string_view text = text_;
    size_t capacity = capacity_;
    if (!checkedText(text, capacity)) return Elements::Malformed;
    auto fail = [this](error_code e) {
        message_ = std::string(simdjson::error_message(e)) + ".";
        return Elements::Malformed;
    };
    od::document document;
    if (auto e = simdjsontext::iterate(text, capacity).get(document)) return fail(e);
    od::json_type type;
    if (auto e = document.type().get(type)) return fail(e);
    if (type != od::json_type::array) return Elements::NotAnArray;
    od::array items;
    if (auto e = document.get_array().get(items)) return fail(e);
    Walk walk(maxDepth_);
    // One set of fields, its room kept from object to object.
    JSONFields fields;
    for (auto element : items) {
        od::value v;
        if (auto e = element.get(v)) return fail(e);
        od::json_type elementType;
        if (auto e = v.type().get(elementType)) return fail(e);
        if (elementType == od::json_type::object) {
            od::object object;
            if (auto e = v.get_object().get(object)) return fail(e);
            // The array is at depth 1, its objects at 2.
            if (auto e = walk.fields(object, fields, 2)) return fail(e);
            eachObject(fields);
        } else {
            Value item;
            if (auto e = walk.value(v, item, 1)) return fail(e);
            eachOther(std::move(item));
        }
    }
    const char* rest = nullptr;
    if (document.current_location().get(rest) != simdjson::OUT_OF_BOUNDS) return fail(simdjson::TRAILING_CONTENT);
    return Elements::Read;
}

Value JSONFields::dictionary() const {
    Value::Dictionary entries;
    for (const auto& field : fields_) entries.insert_or_assign(std::string(field.key), valueOf(field));
    return Value(std::move(entries));
}

}  // namespace foundation
