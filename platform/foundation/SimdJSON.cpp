#include "foundation/SimdJSON.h"

#include "foundation/Data.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace foundation::simdjsontext {

static_assert(Data::kReadPadding == kPadding, "a body's room is what the parser reads past a text");

simdjson::simdjson_result<simdjson::ondemand::document> iterate(std::string_view text, size_t capacity) {
    thread_local simdjson::ondemand::parser parser;
    if (capacity >= text.size() + kPadding) return parser.iterate(text.data(), text.size(), capacity);
    thread_local std::string padded;
    // Grown, never shrunk: a thread reads texts of much the same size.
    if (padded.size() < text.size() + kPadding) padded.resize(text.size() + kPadding);
    std::memcpy(padded.data(), text.data(), text.size());
    return parser.iterate(padded.data(), text.size(), padded.size());
}

simdjson::error_code scalar(simdjson::ondemand::value& source, simdjson::ondemand::json_type type, Value& out) {
    using simdjson::ondemand::json_type;
    switch (type) {
        case json_type::string: {
            std::string_view text;
            if (auto e = source.get_string().get(text)) return e;
            out = Value(text);
            return simdjson::SUCCESS;
        }
        case json_type::boolean: {
            bool b = false;
            if (auto e = source.get_bool().get(b)) return e;
            out = Value(b);
            return simdjson::SUCCESS;
        }
        case json_type::null: {
            bool isNull = false;
            if (auto e = source.is_null().get(isNull)) return e;
            if (!isNull) return simdjson::N_ATOM_ERROR;
            out = Value::null();
            return simdjson::SUCCESS;
        }
        case json_type::number: return number(source, out);
        default: return simdjson::INCORRECT_TYPE;
    }
}

bool isLongNumber(std::string_view& token) {
    // The token runs up to the next structural character, blanks included.
    const size_t length = token.find_first_of(" \t\n\r");
    if (length != std::string_view::npos) token = token.substr(0, length);
    return token.size() > 19;
}

simdjson::error_code readLongNumber(std::string_view token, Value& out) {
    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') ++i;
        return i - start;
    };
    if (i < token.size() && token[i] == '-') ++i;
    const size_t integral = i;
    const size_t integralDigits = digits();
    if (integralDigits == 0 || (integralDigits > 1 && token[integral] == '0')) return simdjson::NUMBER_ERROR;
    if (i < token.size() && token[i] == '.') {
        ++i;
        if (digits() == 0) return simdjson::NUMBER_ERROR;
    }
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
        if (digits() == 0) return simdjson::NUMBER_ERROR;
    }
    if (i != token.size()) return simdjson::NUMBER_ERROR;
    double d = 0;
    // Too small for a double reads as its nearest (zero or a subnormal).
    if (std::from_chars(token.data(), token.data() + token.size(), d).ec != std::errc())
        d = std::strtod(std::string(token).c_str(), nullptr);
    if (!std::isfinite(d)) return simdjson::NUMBER_ERROR;
    out = Value(d);
    return simdjson::SUCCESS;
}

}  // namespace foundation::simdjsontext
