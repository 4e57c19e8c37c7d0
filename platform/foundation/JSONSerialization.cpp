// Reading goes straight into Values (JSONValueReader), so no intermediate
// document is built and the depth check happens before any container is
// opened.
// Writing prints the text directly, with nlohmann's shortest round-trip form
// of reals.
#include "foundation/JSONSerialization.h"

#include "foundation/JSONValueReader.h"
#include "foundation/StringUtils.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace foundation {

namespace {

using json = nlohmann::json;

constexpr const char* kNotJSONDescription = "The data couldn\u2019t be read because it isn\u2019t in the correct format.";
constexpr const char* kDebugDescriptionKey = "NSDebugDescription";

ErrorPtr readError(const std::string& debug) {
    return Error::make(kCocoaErrorDomain, JSONSerialization::kReadCorruptError,
                       {{kLocalizedDescriptionKey, Value(kNotJSONDescription)}, {kDebugDescriptionKey, Value(debug)}});
}

ErrorPtr writeError(const std::string& debug) {
    return Error::make(kCocoaErrorDomain, JSONSerialization::kWriteInvalidError,
                       {{kLocalizedDescriptionKey, Value(debug)}, {kDebugDescriptionKey, Value(debug)}});
}

// Writes the text of a value straight into one string: building a document
// first would copy every key and string of a page once more. The text is
// compact, or indented by two spaces a level with ": " after keys; keys come
// in their map order, strings are escaped as little as JSON allows (quote,
// backslash, control characters), reals take their shortest round-trip form.
class TextWriter {
public:
    explicit TextWriter(bool pretty) : pretty_(pretty) {}

    // False with the reason in why_. A string that is not UTF-8 is only
    // noted: it is the fault reported when every value has a JSON form.
    bool write(const Value& v, size_t depth) {
        if (depth > JSONSerialization::kMaxDepth) return fail("Value nests too deeply for JSON.");
        switch (v.type()) {
            case Value::Type::Null: out_ += "null"; return true;
            case Value::Type::Boolean: out_ += v.boolValue() ? "true" : "false"; return true;
            case Value::Type::Integer: {
                char buffer[24];
                auto end = std::to_chars(buffer, buffer + sizeof buffer, v.integerValue()).ptr;
                out_.append(buffer, end);
                return true;
            }
            case Value::Type::Real: {
                double d = v.doubleValue();
                if (!std::isfinite(d))
                    return fail("Invalid number value (" + NumberParsing::formatDouble(d) + ") in JSON write.");
                out_ += json(d).dump();
                return true;
            }
            case Value::Type::String: string(*v.string()); return true;
            case Value::Type::Array: {
                const Value::Array& items = *v.array();
                if (items.empty()) {
                    out_ += "[]";
                    return true;
                }
                out_ += '[';
                bool first = true;
                for (const auto& item : items) {
                    separate(first, depth + 1);
                    if (!write(item, depth + 1)) return false;
                }
                close(']', depth);
                return true;
            }
            case Value::Type::Dictionary: {
                const Value::Dictionary& entries = *v.dictionary();
                if (entries.empty()) {
                    out_ += "{}";
                    return true;
                }
                out_ += '{';
                bool first = true;
                for (const auto& [key, item] : entries) {
                    separate(first, depth + 1);
                    string(key);
                    out_ += pretty_ ? ": " : ":";
                    if (!write(item, depth + 1)) return false;
                }
                close('}', depth);
                return true;
            }
            case Value::Type::Absent: return fail("Invalid (absent) value in JSON write.");
            case Value::Type::Date: return fail("Invalid type in JSON write (date).");
            case Value::Type::Data: return fail("Invalid type in JSON write (data).");
            case Value::Type::Object: return fail("Invalid type in JSON write (object).");
        }
        return fail("Invalid type in JSON write.");
    }

    bool badUTF8() const { return badUTF8_; }
    const std::string& why() const { return why_; }
    std::string take() { return std::move(out_); }

private:
    bool fail(std::string why) {
        why_ = std::move(why);
        return false;
    }
    void separate(bool& first, size_t depth) {
        if (!first) out_ += ',';
        first = false;
        if (pretty_) indent(depth);
    }
    void close(char bracket, size_t depth) {
        if (pretty_) indent(depth);
        out_ += bracket;
    }
    void indent(size_t depth) {
        out_ += '\n';
        out_.append(depth * 2, ' ');
    }
    void string(std::string_view text) {
        out_ += '"';
        size_t plain = 0;  // start of the run not yet copied
        unsigned char bits = 0;  // any byte past ASCII asks for the UTF-8 check
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            bits |= c;
            if (c >= 0x20 && c != '"' && c != '\\') continue;
            out_.append(text.data() + plain, i - plain);
            plain = i + 1;
            switch (c) {
                case '"': out_ += "\\\""; break;
                case '\\': out_ += "\\\\"; break;
                case '\b': out_ += "\\b"; break;
                case '\t': out_ += "\\t"; break;
                case '\n': out_ += "\\n"; break;
                case '\f': out_ += "\\f"; break;
                case '\r': out_ += "\\r"; break;
                default: {
                    static constexpr char kHex[] = "0123456789abcdef";
                    const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                    out_.append(escape, sizeof escape);
                }
            }
        }
        out_.append(text.data() + plain, text.size() - plain);
        out_ += '"';
        if ((bits & 0x80) && !badUTF8_ && !StringUtils::isValidUTF8(text)) badUTF8_ = true;
    }

    bool pretty_;
    bool badUTF8_ = false;
    std::string out_;
    std::string why_;
};

}  // namespace

Value JSONSerialization::JSONObjectWithData(const Data& data, unsigned options, ErrorPtr* error) {
    std::string_view text(reinterpret_cast<const char*>(data.bytes()), data.length());
    return JSONObjectWithText(text, data.vector().capacity(), options, error);
}

Value JSONSerialization::JSONObjectWithString(std::string_view text, unsigned options, ErrorPtr* error) {
    return JSONObjectWithText(text, text.size(), options, error);
}

Value JSONSerialization::JSONObjectWithText(std::string_view text, size_t capacity, unsigned options,
                                            ErrorPtr* error) {
    if (error) *error = nullptr;
    if (text.empty()) {
        if (error) *error = readError("Unable to parse empty data.");
        return Value();
    }
    JSONValueReader reader(text, capacity, (options & ReadingAllowFragments) != 0, kMaxDepth,
                           (options & ReadingRefuseRepeatedKeys) != 0);
    Value value = reader.read();
    if (value.isAbsent() && error) *error = readError(reader.message());
    return value;
}

bool JSONSerialization::readArrayElements(std::string_view text, size_t capacity,
                                          const std::function<void(const JSONFields&)>& eachObject,
                                          const std::function<void(Value)>& eachOther) {
    if (text.empty()) return false;
    JSONValueReader reader(text, capacity, false, kMaxDepth);
    return reader.readElements(eachObject, eachOther) == JSONValueReader::Elements::Read;
}

std::optional<std::string> JSONSerialization::stringWithJSONObject(const Value& value, unsigned options,
                                                                   ErrorPtr* error) {
    if (error) *error = nullptr;
    if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) {
        if (error) *error = writeError("Invalid top-level type in JSON write.");
        return std::nullopt;
    }
    TextWriter writer((options & WritingPrettyPrinted) != 0);
    if (!writer.write(value, 0)) {
        if (error) *error = writeError(writer.why());
        return std::nullopt;
    }
    if (writer.badUTF8()) {
        if (error) *error = writeError("Invalid UTF-8 in a string in JSON write.");
        return std::nullopt;
    }
    return writer.take();
}

std::optional<Data> JSONSerialization::dataWithJSONObject(const Value& value, unsigned options, ErrorPtr* error) {
    auto text = stringWithJSONObject(value, options, error);
    if (!text) return std::nullopt;
    return Data::fromString(*text);
}

ErrorPtr JSONSerialization::readingError(const std::string& reason) { return readError(reason); }

bool JSONSerialization::isValidJSONObject(const Value& value, unsigned options) {
    if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) return false;
    TextWriter writer(false);
    return writer.write(value, 0);
}

}  // namespace foundation
