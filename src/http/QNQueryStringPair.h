// Query-string encoding: a parameters tree (dictionaries, arrays, parameter
// sets, with strings and numbers at the leaves) flattened into ordered
// field/value pairs and written as "field=value" joined with "&". Pure
// functions of their input; the multipart builder reuses the unescaped pairs
// as its form fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Charset.h"
#include "foundation/Error.h"
#include "foundation/Value.h"

class QNQueryStringPair {
public:
    // An absent or null value both mean "no value": the pair prints as its field alone.
    QNQueryStringPair(std::string field, foundation::Value value) : field_(std::move(field)), value_(std::move(value)) {}

    // The key path ("user[tags][]").
    const std::string& field() const { return field_; }
    const foundation::Value& value() const { return value_; }

    // "field=value" escaped, or the escaped field alone when there is no value.
    // Nothing when the text cannot be written in the encoding.
    std::optional<std::string> URLEncodedStringValueWithEncoding(foundation::StringEncoding encoding) const;

private:
    std::string field_;
    foundation::Value value_;
};

// The pairs of a value under a key, depth first: dictionary keys in ascending
// order of their text (compared by UTF-16 unit, case-sensitively) nest as
// "key[k]", array elements as "key[]" in order, parameter-set members sorted
// by their text repeat the key. Without a key only a dictionary gives pairs.
std::vector<QNQueryStringPair> QNQueryPairsForKeyAndValue(const std::optional<std::string>& key,
                                                          const foundation::Value& value);

// ASCII letters, digits and "-._~" stay, and so do "[" and "]" so that nested
// keys stay readable; every other byte of the text in `encoding` becomes
// "%XX". Nothing when the text cannot be written in the encoding.
std::optional<std::string> QNEscapedQueryFieldString(std::string_view string, foundation::StringEncoding encoding);
// The same rule without the brackets: what a value's text becomes.
std::optional<std::string> QNEscapedQueryValueString(std::string_view string, foundation::StringEncoding encoding);

// The query text of a parameters dictionary ("" for an empty one). Parameters
// that are not a dictionary, or text the encoding cannot write, give nothing
// and an error in the request-serialization domain.
std::optional<std::string> QNQueryStringFromParameters(const foundation::Value& parameters,
                                                       foundation::StringEncoding encoding,
                                                       foundation::ErrorPtr* error = nullptr);
