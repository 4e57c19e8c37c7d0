// Field conversions shared by every model.
#include "model/ModelReading.h"

#include <charconv>

#include "Utils/DictionaryUtility.h"
#include "coredata/KeyValueCoding.h"

using foundation::Value;

namespace ModelReading {

Text textOf(const Value& value) {
    if (const auto* s = value.string()) return *s;
    if (value.isNumber()) return value.description();
    return std::nullopt;
}

namespace {

std::string modelReadingEntryOf(const Text& text) {
    if (!text || text->find_first_of(";|") != std::string::npos) return std::string();
    return *text;
}

}  // namespace

std::string entryTextOf(const Value& value) { return modelReadingEntryOf(textOf(value)); }

std::string entryIdOf(const Value& value) { return modelReadingEntryOf(idOf(value)); }

Value valueOf(const Text& text) { return text ? Value(*text) : Value(); }

bool isUsableIdText(std::string_view text) { return !text.empty(); }

Text idOf(const Value& value) {
    if (const auto* s = value.string()) return isUsableIdText(*s) ? Text(*s) : std::nullopt;
    // A number names an object only as an integer: the parser reads "7.0",
    // "7e0" and "-0.0" as reals, and taking them for "7" or "0" would make
    // another object of the service that one.
    if (value.isInteger()) return std::to_string(value.integerValue());
    return std::nullopt;
}

namespace {

// "0", or digits that do not start with 0, with a minus sign only before a
// number other than 0: the one spelling of each integer, so "03", "007" and
// "-0" never name message 3, 7 or 0.
bool isCanonicalIntegerText(std::string_view text) {
    if (text == "0") return true;
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty() || text.front() < '1' || text.front() > '9') return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::optional<int32_t> int32IdOfText(std::string_view text, int32_t least) {
    if (!isCanonicalIntegerText(text)) return std::nullopt;
    int32_t number = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || at != end || number < least) return std::nullopt;
    return number;
}

std::optional<int32_t> int32IdOf(const Value& value, int32_t least) {
    if (const auto* text = value.string()) return int32IdOfText(*text, least);
    if (!value.isInteger()) return std::nullopt;
    const int64_t number = value.integerValue();
    if (number < least || number > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(number);
}

const Value& FieldReader::lookUp(std::string_view key, Value& held) const {
    if (dictionary_) return DictionaryUtility::objectForKeyNotNull(*dictionary_, key);
    if (fields_) {
        const auto* field = fields_->find(key);
        if (!field) return held;
        if (field->isText) {
            held = Value(field->text);
            return held;
        }
        return field->value.isNull() ? held : field->value;
    }
    if (object_) {
        held = object_->valueForKey(std::string(key));
        if (held.isNull()) held = Value();
    }
    return held;
}

Value FieldReader::value(std::string_view key) const {
    Value held;
    return lookUp(key, held);
}

Text FieldReader::text(std::string_view key) const {
    // A page's text goes from the parser's buffer straight into the model.
    if (fields_) {
        const auto* field = fields_->find(key);
        if (field && field->isText) return std::string(field->text);
    }
    Value held;
    return textOf(lookUp(key, held));
}

Text FieldReader::id(std::string_view key) const {
    if (fields_) {
        const auto* field = fields_->find(key);
        if (field && field->isText)
            return isUsableIdText(field->text) ? Text(std::string(field->text)) : std::nullopt;
    }
    Value held;
    return idOf(lookUp(key, held));
}

std::optional<int32_t> FieldReader::int32Id(std::string_view key, int32_t least) const {
    if (fields_) {
        const auto* field = fields_->find(key);
        if (field && field->isText) return int32IdOfText(field->text, least);
    }
    Value held;
    return int32IdOf(lookUp(key, held), least);
}

int32_t FieldReader::int32(std::string_view key) const {
    Value held;
    return lookUp(key, held).intValue();
}

double FieldReader::real(std::string_view key) const {
    Value held;
    return lookUp(key, held).doubleValue();
}

bool FieldReader::boolean(std::string_view key) const {
    Value held;
    return lookUp(key, held).boolValue();
}

Value FieldReader::array(std::string_view key) const {
    Value held;
    const Value& v = lookUp(key, held);
    return v.isArray() ? v : Value();
}

Value FieldReader::dictionary(std::string_view key) const {
    Value held;
    const Value& v = lookUp(key, held);
    return v.isDictionary() ? v : Value();
}

}  // namespace ModelReading
