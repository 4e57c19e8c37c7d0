// Reads JSON text (RFC 8259) into a Value, for JSONSerialization, through
// simdjson's on-demand API. It accepts what nlohmann-json's parser accepts
// and makes the same kinds: an integer that fits 64 bits signed stays an
// integer, any other number is a real (an integer too large for 64 bits
// included); a byte order mark may lead; a number too large for a double is
// refused, and so is a NUL byte anywhere; nesting deeper than the limit is
// refused; a repeated key keeps its last value, unless refused.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/JSONFields.h"
#include "foundation/Value.h"

namespace foundation {

class JSONValueReader {
public:
    // `capacity` is how many bytes the text's buffer holds from its start:
    // with room for the parser's padding the text is read in place.
    JSONValueReader(std::string_view text, size_t capacity, bool allowFragments, size_t maxDepth,
                    bool refuseRepeatedKeys = false)
        : text_(text),
          capacity_(capacity),
          allowFragments_(allowFragments),
          maxDepth_(maxDepth),
          refuseRepeatedKeys_(refuseRepeatedKeys) {}

    // The value the text holds, or absent with the reason in message().
    Value read();
    const std::string& message() const { return message_; }

    enum class Elements { Read, NotAnArray, Malformed };
    // The elements of a text that holds an array, one by one and in order,
    // with no value of the whole array: each object's fields to `eachObject`,
    // each other element as its value to `eachOther`. Read only when read()
    // would give that array (the callbacks may have run before a failure);
    // NotAnArray, with nothing handed over, for any other value.
    Elements readElements(const std::function<void(const JSONFields&)>& eachObject,
                          const std::function<void(Value)>& eachOther);

private:
    Value readScalarAlone(std::string_view text);
    // The text past a byte order mark, or false with the reason in message().
    bool checkedText(std::string_view& text, size_t& capacity);

    std::string_view text_;
    size_t capacity_;
    bool allowFragments_;
    size_t maxDepth_;
    bool refuseRepeatedKeys_;
    std::string message_;
};

}  // namespace foundation
