// Where every reader with simdjson gets its document: foundation's JSON
// reading (JSONValueReader) and the API's revision listings
// (src/api/RevisionListing.cpp, which walks the on-demand document with
// simdjson's own calls). It keeps a parser per thread (it holds buffers as
// large as the largest text it has read) and the padding its reading needs
// past a text's end. A text whose own buffer has
// that room is read where it lies; any other is copied once into a padded
// buffer, also kept per thread.
#pragma once

#include <simdjson.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/Value.h"

namespace foundation::simdjsontext {

// What a buffer must hold past its text's end for the text to be read in place.
constexpr size_t kPadding = simdjson::SIMDJSON_PADDING;

// An on-demand document over the text, whose buffer holds `capacity` bytes
// (the text's size when nothing more is known). The document, and every
// string read from it, lives until the thread's next `iterate`.
simdjson::simdjson_result<simdjson::ondemand::document> iterate(std::string_view text, size_t capacity);

// A string, Boolean, null or number of the given type; a container is the
// parser's type error.
simdjson::error_code scalar(simdjson::ondemand::value& source, simdjson::ondemand::json_type type, Value& out);

// The parser gets a number with more digits than 64 bits hold wrong (it
// reads 0.57203685477580923372036854775808 as 9.9e-14, and refuses
// 1e-150185477744001854775808): such a number is checked against JSON's
// grammar and read from its text here: whether the token (cut to the number)
// is that long, and then the number or the error.
bool isLongNumber(std::string_view& token);
simdjson::error_code readLongNumber(std::string_view token, Value& out);

// A number of a value. An integer
// that fits 64 bits signed stays an integer; any other number, one with a
// fraction or an exponent or too large, is a real; a number too large for a
// double is refused.
inline simdjson::error_code number(simdjson::ondemand::value& source, Value& out) {
    simdjson::ondemand::number_type kind;
    if (auto e = source.get_number_type().get(kind)) return e;
    if (kind == simdjson::ondemand::number_type::signed_integer) {
        int64_t i = 0;
        if (source.get_int64().get(i) == simdjson::SUCCESS) {
            out = Value(i);
            return simdjson::SUCCESS;
        }
    }
    std::string_view token = source.raw_json_token();
    if (isLongNumber(token)) return readLongNumber(token, out);
    double d = 0;
    if (auto e = source.get_double().get(d)) return e;
    out = Value(d);
    return simdjson::SUCCESS;
}

}  // namespace foundation::simdjsontext
