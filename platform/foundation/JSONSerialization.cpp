// Reading goes through nlohmann's event (SAX) parser straight into Values, so
// no intermediate document is built and the depth check happens before any
// container is opened. Writing converts to nlohmann's document and lets it
// escape strings and print the shortest round-trip form of reals.
#include "foundation/JSONSerialization.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <vector>

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

class ValueBuilder : public nlohmann::json_sax<json> {
public:
    explicit ValueBuilder(bool allowFragments) : allowFragments_(allowFragments) {}

    bool null() override { return scalar(Value::null()); }
    bool boolean(bool b) override { return scalar(Value(b)); }
    bool number_integer(number_integer_t i) override { return scalar(Value(static_cast<int64_t>(i))); }
    bool number_unsigned(number_unsigned_t u) override {
        // Above the signed range only a real can hold it.
        if (u > static_cast<number_unsigned_t>(INT64_MAX)) return scalar(Value(static_cast<double>(u)));
        return scalar(Value(static_cast<int64_t>(u)));
    }
    bool number_float(number_float_t d, const string_t&) override { return scalar(Value(static_cast<double>(d))); }
    bool string(string_t& s) override { return scalar(Value(std::move(s))); }
    bool binary(binary_t&) override { return fail("binary values are not JSON"); }
    bool start_object(std::size_t) override { return open(Value(Value::Dictionary{})); }
    bool key(string_t& k) override {
        stack_.back().key = std::move(k);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value(Value::Array{})); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        if (message_.empty()) message_ = std::string(e.what()) + " (at byte " + std::to_string(position) + ")";
        return false;
    }

    Value take() { return std::move(root_); }
    const std::string& message() const { return message_; }

private:
    struct Frame {
        Value container;
        std::string key;
    };

    bool fail(std::string message) {
        message_ = std::move(message);
        return false;
    }
    bool scalar(Value v) {
        if (stack_.empty() && !allowFragments_)
            return fail("JSON text did not start with array or object and option to allow fragments not set.");
        return add(std::move(v));
    }
    bool add(Value v) {
        if (stack_.empty()) {
            root_ = std::move(v);
            return true;
        }
        Frame& top = stack_.back();
        if (auto* array = top.container.array()) {
            array->push_back(std::move(v));
        } else {
            (*top.container.dictionary())[top.key] = std::move(v);
        }
        return true;
    }
    bool open(Value container) {
        if (stack_.size() >= JSONSerialization::kMaxDepth) return fail("JSON nests too deeply.");
        stack_.push_back(Frame{std::move(container), {}});
        return true;
    }
    bool close() {
        Value done = std::move(stack_.back().container);
        stack_.pop_back();
        return add(std::move(done));
    }

    bool allowFragments_;
    std::vector<Frame> stack_;
    Value root_;
    std::string message_;
};

// The document for a value, or the reason it has none.
std::optional<json> toJSON(const Value& v, size_t depth, std::string& why) {
    if (depth > JSONSerialization::kMaxDepth) {
        why = "Value nests too deeply for JSON.";
        return std::nullopt;
    }
    switch (v.type()) {
        case Value::Type::Null: return json(nullptr);
        case Value::Type::Boolean: return json(v.boolValue());
        case Value::Type::Integer: return json(v.integerValue());
        case Value::Type::Real: {
            double d = v.doubleValue();
            if (!std::isfinite(d)) {
                why = "Invalid number value (" + NumberParsing::formatDouble(d) + ") in JSON write.";
                return std::nullopt;
            }
            return json(d);
        }
        case Value::Type::String: return json(*v.string());
        case Value::Type::Array: {
            json out = json::array();
            for (const auto& item : *v.array()) {
                auto j = toJSON(item, depth + 1, why);
                if (!j) return std::nullopt;
                out.push_back(std::move(*j));
            }
            return out;
        }
        case Value::Type::Dictionary: {
            json out = json::object();
            for (const auto& [key, item] : *v.dictionary()) {
                auto j = toJSON(item, depth + 1, why);
                if (!j) return std::nullopt;
                out[key] = std::move(*j);
            }
            return out;
        }
        case Value::Type::Absent: why = "Invalid (absent) value in JSON write."; return std::nullopt;
        case Value::Type::Date: why = "Invalid type in JSON write (date)."; return std::nullopt;
        case Value::Type::Data: why = "Invalid type in JSON write (data)."; return std::nullopt;
        case Value::Type::Object: why = "Invalid type in JSON write (object)."; return std::nullopt;
    }
    why = "Invalid type in JSON write.";
    return std::nullopt;
}

}  // namespace

Value JSONSerialization::JSONObjectWithData(const Data& data, unsigned options, ErrorPtr* error) {
    std::string_view text(reinterpret_cast<const char*>(data.bytes()), data.length());
    return JSONObjectWithString(text, options, error);
}

Value JSONSerialization::JSONObjectWithString(std::string_view text, unsigned options, ErrorPtr* error) {
    if (error) *error = nullptr;
    if (text.empty()) {
        if (error) *error = readError("Unable to parse empty data.");
        return Value();
    }
    ValueBuilder builder((options & ReadingAllowFragments) != 0);
    bool ok = false;
    try {
        ok = json::sax_parse(text.begin(), text.end(), &builder, json::input_format_t::json, true, false);
    } catch (const std::exception& e) {
        // The parser reports through the handler; this is only a safety net.
        if (error) *error = readError(e.what());
        return Value();
    }
    if (!ok) {
        if (error) *error = readError(builder.message().empty() ? "Invalid JSON." : builder.message());
        return Value();
    }
    return builder.take();
}

std::optional<std::string> JSONSerialization::stringWithJSONObject(const Value& value, unsigned options,
                                                                   ErrorPtr* error) {
    if (error) *error = nullptr;
    if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) {
        if (error) *error = writeError("Invalid top-level type in JSON write.");
        return std::nullopt;
    }
    std::string why;
    auto document = toJSON(value, 0, why);
    if (!document) {
        if (error) *error = writeError(why);
        return std::nullopt;
    }
    try {
        return document->dump((options & WritingPrettyPrinted) ? 2 : -1, ' ', false, json::error_handler_t::strict);
    } catch (const std::exception&) {
        if (error) *error = writeError("Invalid UTF-8 in a string in JSON write.");
        return std::nullopt;
    }
}

std::optional<Data> JSONSerialization::dataWithJSONObject(const Value& value, unsigned options, ErrorPtr* error) {
    auto text = stringWithJSONObject(value, options, error);
    if (!text) return std::nullopt;
    return Data::fromString(*text);
}

bool JSONSerialization::isValidJSONObject(const Value& value, unsigned options) {
    if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) return false;
    std::string why;
    return toJSON(value, 0, why).has_value();
}

}  // namespace foundation
