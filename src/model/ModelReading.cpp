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

const Value* FieldReader::find(std::string_view key) const {
    const Value& v = DictionaryUtility::objectForKeyNotNull(*dictionary_, key);
    return v.isAbsent() ? nullptr : &v;
}

Value FieldReader::value(std::string_view key) const {
    if (dictionary_) {
        const Value* v = find(key);
        return v ? *v : Value();
    }
    if (object_) {
        Value v = object_->valueForKey(std::string(key));
        return v.isNull() ? Value() : v;
    }
    return Value();
}

Text FieldReader::text(std::string_view key) const {
    if (!dictionary_) return textOf(value(key));
    const Value* v = find(key);
    return v ? textOf(*v) : std::nullopt;
}

int32_t FieldReader::int32(std::string_view key) const {
    if (!dictionary_) return value(key).intValue();
    const Value* v = find(key);
    return v ? v->intValue() : 0;
}

double FieldReader::real(std::string_view key) const {
    if (!dictionary_) return value(key).doubleValue();
    const Value* v = find(key);
    return v ? v->doubleValue() : 0.0;
}

bool FieldReader::boolean(std::string_view key) const {
    if (!dictionary_) return value(key).boolValue();
    const Value* v = find(key);
    return v && v->boolValue();
}

Value FieldReader::array(std::string_view key) const {
    if (dictionary_) {
        const Value* v = find(key);
        return v && v->isArray() ? *v : Value();
    }
    Value v = value(key);
    return v.isArray() ? v : Value();
}

Value FieldReader::dictionary(std::string_view key) const {
    if (dictionary_) {
        const Value* v = find(key);
        return v && v->isDictionary() ? *v : Value();
    }
    Value v = value(key);
    return v.isDictionary() ? v : Value();
}

}  // namespace ModelReading
