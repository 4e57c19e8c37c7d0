// Flattening and escaping of query parameters. The escape rule is the one the
// service has always been sent (a space is "%20", never "+"), so it is spelled
// out here rather than borrowed from a URL-component character set.
#include "http/QNQueryStringPair.h"

#include <algorithm>

#include "foundation/StringUtils.h"
#include "foundation/URL.h"
#include "http/QNNetworking.h"
#include "http/QNParameterSet.h"

using foundation::StringEncoding;
using foundation::Value;

namespace {

const foundation::AllowedCharacters& valueCharacters() {
    static const auto set = foundation::AllowedCharacters::unreserved();
    return set;
}

const foundation::AllowedCharacters& fieldCharacters() {
    static const auto set = foundation::AllowedCharacters::unreserved().adding("[]");
    return set;
}

std::optional<std::string> escape(std::string_view text, StringEncoding encoding,
                                  const foundation::AllowedCharacters& allowed) {
    // Our strings are UTF-8 already; only other encodings need converting.
    if (encoding == StringEncoding::UTF8) return foundation::percentEncode(text, allowed);
    auto bytes = foundation::Charset::encode(text, encoding);
    if (!bytes) return std::nullopt;
    return foundation::percentEncode(
        std::string_view(reinterpret_cast<const char*>(bytes->bytes()), bytes->length()), allowed);
}

// The platform orders strings by UTF-16 unit, which differs from UTF-8 byte
// order for characters beyond the basic plane.
bool textLess(const std::string& a, const std::string& b) {
    return foundation::StringUtils::toUTF16(a) < foundation::StringUtils::toUTF16(b);
}

void appendPairs(std::vector<QNQueryStringPair>& out, const std::optional<std::string>& key, const Value& value) {
    if (const auto* dictionary = value.dictionary()) {
        std::vector<const std::string*> keys;
        keys.reserve(dictionary->size());
        for (const auto& entry : *dictionary) keys.push_back(&entry.first);
        std::stable_sort(keys.begin(), keys.end(), [](auto a, auto b) { return textLess(*a, *b); });
        for (const std::string* k : keys) {
            appendPairs(out, key ? *key + "[" + *k + "]" : *k, dictionary->at(*k));
        }
        return;
    }
    if (!key) return;
    if (const auto* array = value.array()) {
        std::string nested = *key + "[]";
        for (const auto& element : *array) appendPairs(out, nested, element);
        return;
    }
    if (auto set = value.objectAs<QNParameterSet>()) {
        std::vector<std::pair<std::string, const Value*>> members;
        members.reserve(set->members().size());
        for (const auto& member : set->members()) members.emplace_back(member.stringValue(), &member);
        std::stable_sort(members.begin(), members.end(),
                         [](const auto& a, const auto& b) { return textLess(a.first, b.first); });
        for (const auto& member : members) appendPairs(out, key, *member.second);
        return;
    }
    out.emplace_back(*key, value);
}

foundation::ErrorPtr requestError(const char* message) {
    return foundation::Error::withDescription(kQNURLRequestSerializationErrorDomain, foundation::URLError::BadURL,
                                              QNLocalizedString(message));
}

}  // namespace

std::optional<std::string> QNQueryStringPair::URLEncodedStringValueWithEncoding(StringEncoding encoding) const {
    auto field = QNEscapedQueryFieldString(field_, encoding);
    if (!field || value_.isNothing()) return field;
    auto value = QNEscapedQueryValueString(value_.stringValue(), encoding);
    if (!value) return std::nullopt;
    return *field + "=" + *value;
}

std::vector<QNQueryStringPair> QNQueryPairsForKeyAndValue(const std::optional<std::string>& key, const Value& value) {
    std::vector<QNQueryStringPair> pairs;
    appendPairs(pairs, key, value);
    return pairs;
}

std::optional<std::string> QNEscapedQueryFieldString(std::string_view string, StringEncoding encoding) {
    return escape(string, encoding, fieldCharacters());
}

std::optional<std::string> QNEscapedQueryValueString(std::string_view string, StringEncoding encoding) {
    return escape(string, encoding, valueCharacters());
}

std::optional<std::string> QNQueryStringFromParameters(const Value& parameters, StringEncoding encoding,
                                                       foundation::ErrorPtr* error) {
    if (!parameters.isDictionary()) {
        if (error) *error = requestError(QNNetworkingMessage::kQueryParametersNotDictionary);
        return std::nullopt;
    }
    std::string query;
    bool first = true;
    for (const auto& pair : QNQueryPairsForKeyAndValue(std::nullopt, parameters)) {
        auto text = pair.URLEncodedStringValueWithEncoding(encoding);
        if (!text) {
            if (error) *error = requestError(QNNetworkingMessage::kQueryTextNotEncodable);
            return std::nullopt;
        }
        if (!first) query += '&';
        query += *text;
        first = false;
    }
    return query;
}
