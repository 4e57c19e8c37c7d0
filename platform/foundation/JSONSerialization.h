// JSON text to and from foundation::Value. Reading keeps number kinds apart
// (an integer stays Integer, a number with a fraction or exponent is Real,
// true/false are Booleans, null is the null marker) and rejects malformed
// text, invalid UTF-8 and, unless asked, a top-level scalar. Nesting deeper
// than kMaxDepth is an error, so hostile input cannot exhaust the stack.
// Writing accepts only what JSON can say: no dates, data, objects or absent
// values, and no non-finite numbers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/JSONFields.h"
#include "foundation/Value.h"

namespace foundation {

class JSONSerialization {
public:
    enum ReadingOptions : unsigned {
        ReadingDefault = 0,
        ReadingAllowFragments = 1 << 0,  // a top-level string, number, Boolean or null
        // An object that gives a key twice is no value (by default the last
        // one counts): for a file whose every part must be read as written.
        ReadingRefuseRepeatedKeys = 1 << 1,
    };
    enum WritingOptions : unsigned {
        WritingDefault = 0,
        WritingPrettyPrinted = 1 << 0,
        WritingFragmentsAllowed = 1 << 1,
    };
    static constexpr size_t kMaxDepth = 512;
    // The Cocoa code for text that is not valid JSON, and for values that cannot be written.
    static constexpr int64_t kReadCorruptError = 3840;
    static constexpr int64_t kWriteInvalidError = 3851;

    // Absent on failure, with the reason in *error.
    static Value JSONObjectWithData(const Data& data, unsigned options = ReadingDefault, ErrorPtr* error = nullptr);
    static Value JSONObjectWithString(std::string_view text, unsigned options = ReadingDefault,
                                      ErrorPtr* error = nullptr);
    // The text lies at the start of a buffer of `capacity` bytes: with
    // `Data::kReadPadding` bytes of it past the text, the text is read where
    // it lies rather than copied first.
    static Value JSONObjectWithText(std::string_view text, size_t capacity, unsigned options = ReadingDefault,
                                    ErrorPtr* error = nullptr);

    // The elements of a text that holds an array, in order, with no value
    // of the whole: each object's fields to `eachObject`, each other element
    // to `eachOther`. True when JSONObjectWithText would read that array;
    // false for any other text, whose value or error a whole reading gives
    // (the callbacks may have run before a malformed part).
    static bool readArrayElements(std::string_view text, size_t capacity,
                                  const std::function<void(const JSONFields&)>& eachObject,
                                  const std::function<void(Value)>& eachOther);

    static std::optional<Data> dataWithJSONObject(const Value& value, unsigned options = WritingDefault,
                                                  ErrorPtr* error = nullptr);
    static std::optional<std::string> stringWithJSONObject(const Value& value, unsigned options = WritingDefault,
                                                           ErrorPtr* error = nullptr);
    static bool isValidJSONObject(const Value& value, unsigned options = WritingDefault);
    // The error of text that is not valid JSON, for readers of JSON of their own.
    static ErrorPtr readingError(const std::string& reason);
};

}  // namespace foundation
