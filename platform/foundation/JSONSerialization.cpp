// Reading goes through nlohmann's event (SAX) parser straight into Values, so
// no intermediate document is built and the depth check happens before any
// container is opened. Writing prints the text directly, with nlohmann's
// shortest round-trip form of reals.
#include "foundation/JSONSerialization.h"

#include "foundation/StringUtils.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <iterator>
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

// The lexer's scratch text for the string or number it is reading. The
// lexer appends a character at a time, and std::string's append is not
// inlined there: a call per character of every page was the largest single
// cost of reading one. This text appends in place and grows out of line.
class TokenText {
public:
    using value_type = char;

    void clear() { size_ = 0; }
    [[gnu::always_inline]] void push_back(char c) {
        if (size_ + 1 >= buffer_.size()) grow();
        buffer_[size_++] = c;
    }
    size_t size() const { return size_; }
    // Numbers are read back with strtod and the like, which stop at a NUL.
    char* data() {
        buffer_[size_] = '\0';
        return buffer_.data();
    }
    std::string_view view() const { return {buffer_.data(), size_}; }

private:
    [[gnu::noinline]] void grow() { buffer_.resize(buffer_.size() * 2); }

    std::string buffer_ = std::string(256, '\0');
    size_t size_ = 0;
};

// Only its event parser is used: the tokens' texts come as TokenText.
using TokenJSON = nlohmann::basic_json<std::map, std::vector, TokenText>;

class ValueBuilder final : public nlohmann::json_sax<TokenJSON> {
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
    // Copied, not moved: the copy is allocated once at its size, and the
    // lexer keeps its grown buffer for the next string instead of growing a
    // fresh one character by character.
    bool string(string_t& s) override { return scalar(Value(std::string(s.view()))); }
    bool binary(binary_t&) override { return fail("binary values are not JSON"); }
    bool start_object(std::size_t) override { return open(Value(Value::Dictionary{}), false); }
    bool key(string_t& k) override {
        stack_.back().key.assign(k.view());
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Value(), true); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        if (message_.empty()) message_ = std::string(e.what()) + " (at byte " + std::to_string(position) + ")";
        return false;
    }

    Value take() { return std::move(root_); }
    const std::string& message() const { return message_; }

private:
    // An array's elements wait on one stack shared by all open arrays and
    // become the array, allocated once at its size, when it closes; grown
    // element by element, a page's arrays were reallocated and moved many
    // times over.
    struct Frame {
        Value container;  // a dictionary; nothing for an array
        std::string key;
        size_t firstElement = 0;  // an array's first place on elements_
        bool isArray = false;
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
        if (top.isArray) {
            elements_.push_back(std::move(v));
            return true;
        }
        // Keys mostly come in order (the service writes them so), and then
        // each goes in at the end without a search. A repeated key keeps the
        // last value, as it did through the map's subscript.
        Value::Dictionary& entries = *top.container.dictionary();
        if (entries.empty() || entries.rbegin()->first < top.key) {
            entries.emplace_hint(entries.end(), std::move(top.key), std::move(v));
        } else {
            auto [slot, inserted] = entries.try_emplace(std::move(top.key), std::move(v));
            if (!inserted) slot->second = std::move(v);
        }
        return true;
    }
    bool open(Value container, bool isArray) {
        if (stack_.size() >= JSONSerialization::kMaxDepth) return fail("JSON nests too deeply.");
        stack_.push_back(Frame{std::move(container), {}, elements_.size(), isArray});
        return true;
    }
    bool close() {
        Frame& top = stack_.back();
        Value done;
        if (top.isArray) {
            const auto first = elements_.begin() + static_cast<std::ptrdiff_t>(top.firstElement);
            done = Value(Value::Array(std::make_move_iterator(first), std::make_move_iterator(elements_.end())));
            elements_.erase(first, elements_.end());
        } else {
            done = std::move(top.container);
        }
        stack_.pop_back();
        return add(std::move(done));
    }

    bool allowFragments_;
    std::vector<Frame> stack_;
    std::vector<Value> elements_;
    Value root_;
    std::string message_;
};

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
        // The JSON parser alone: the library's own entry also reaches its
        // binary formats, which need more of a text than TokenText offers.
        auto input = nlohmann::detail::input_adapter(text.begin(), text.end());
        ok = nlohmann::detail::parser<TokenJSON, decltype(input)>(std::move(input), nullptr, true, false)
                 .sax_parse(&builder, true);
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

bool JSONSerialization::isValidJSONObject(const Value& value, unsigned options) {
    if (!(options & WritingFragmentsAllowed) && !value.isArray() && !value.isDictionary()) return false;
    TextWriter writer(false);
    return writer.write(value, 0);
}

}  // namespace foundation
