// The JSON reader and nlohmann's parser, given the same bytes, agree: both
// refuse them, or both read the same value, kind for kind. Texts that could
// nest deeper than the reader allows are left out: nlohmann has no limit.
// The element-by-element reading of an array gives the whole reading's
// array, its objects' fields made into dictionaries, and refuses any other
// text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string_view>

#include "SameKinds.h"
#include "foundation/JSONSerialization.h"

using namespace foundation;

namespace {

// nlohmann's value as the reader would give it: an unsigned integer past the
// signed range becomes a real.
Value asValue(const nlohmann::json& j) {
    switch (j.type()) {
        case nlohmann::json::value_t::null: return Value::null();
        case nlohmann::json::value_t::boolean: return Value(j.get<bool>());
        case nlohmann::json::value_t::number_integer: return Value(j.get<int64_t>());
        case nlohmann::json::value_t::number_unsigned: {
            const uint64_t u = j.get<uint64_t>();
            if (u > static_cast<uint64_t>(INT64_MAX)) return Value(static_cast<double>(u));
            return Value(static_cast<int64_t>(u));
        }
        case nlohmann::json::value_t::number_float: return Value(j.get<double>());
        case nlohmann::json::value_t::string: return Value(j.get<std::string>());
        case nlohmann::json::value_t::array: {
            Value::Array items;
            for (const auto& item : j) items.push_back(asValue(item));
            return Value(std::move(items));
        }
        case nlohmann::json::value_t::object: {
            Value::Dictionary entries;
            for (const auto& [key, item] : j.items()) entries.emplace(key, asValue(item));
            return Value(std::move(entries));
        }
        default: std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    if (static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return c == '[' || c == '{'; })) >=
        JSONSerialization::kMaxDepth)
        return 0;
    const Value read = JSONSerialization::JSONObjectWithString(text, JSONSerialization::ReadingAllowFragments);
    Value::Array elements;
    const bool listed = JSONSerialization::readArrayElements(
        text, text.size(), [&](const JSONFields& fields) { elements.push_back(fields.dictionary()); },
        [&](Value element) { elements.push_back(std::move(element)); });
    if (listed != read.isArray()) std::abort();
    if (listed && (Value(elements) != read || !sameKinds(Value(elements), read))) std::abort();
    // nlohmann stops at a NUL byte as at the end of the text; JSON has no
    // place for one, in a string or out of it.
    if (text.find('\0') != std::string_view::npos) {
        if (!read.isAbsent()) std::abort();
        return 0;
    }
    const nlohmann::json reference = nlohmann::json::parse(text, nullptr, false);
    if (reference.is_discarded()) {
        if (!read.isAbsent()) std::abort();
        return 0;
    }
    const Value expected = asValue(reference);
    if (read != expected || !sameKinds(read, expected)) std::abort();
    return 0;
}
