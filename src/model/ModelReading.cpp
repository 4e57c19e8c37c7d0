// Field conversions shared by every model.
#include "model/ModelReading.h"

#include "Utils/DictionaryUtility.h"
#include "coredata/KeyValueCoding.h"

using foundation::Value;

namespace ModelReading {

Text textOf(const Value& value) {
    if (const auto* s = value.string()) return *s;
    if (value.isNumber()) return value.description();
    return std::nullopt;
}

std::string entryTextOf(const Value& value) { return textOf(value).value_or(std::string()); }

Value valueOf(const Text& text) { return text ? Value(*text) : Value(); }

Value FieldReader::value(const std::string& key) const {
    if (dictionary_) return DictionaryUtility::objectForKeyNotNull(*dictionary_, key);
    if (object_) {
        Value v = object_->valueForKey(key);
        return v.isNull() ? Value() : v;
    }
    return Value();
}

Value FieldReader::array(const std::string& key) const {
    Value v = value(key);
    return v.isArray() ? v : Value();
}

Value FieldReader::dictionary(const std::string& key) const {
    Value v = value(key);
    return v.isDictionary() ? v : Value();
}

}  // namespace ModelReading
