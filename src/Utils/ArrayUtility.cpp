#include "Utils/ArrayUtility.h"

namespace ArrayUtility {

using foundation::Value;

bool any(const Value& array) { return array.isArray() && array.count() > 0; }

bool containsString(const Value& array, std::string_view text) { return indexOfString(array, text) >= 0; }

int32_t indexOfString(const Value& array, std::string_view text) {
    const auto* items = array.array();
    if (!items) return -1;
    for (size_t i = 0; i < items->size(); ++i) {
        const auto* s = (*items)[i].string();
        if (s && *s == text) return static_cast<int32_t>(i);
    }
    return -1;
}

Value uniqueElements(const Value& array) {
    Value::Array out;
    if (const auto* items = array.array()) {
        for (const auto& item : *items) {
            bool seen = false;
            for (const auto& kept : out) {
                if (kept == item) {
                    seen = true;
                    break;
                }
            }
            if (!seen) out.push_back(item);
        }
    }
    return Value(std::move(out));
}

int64_t indexedCount(const Value& array) {
    int64_t total = 0;
    if (const auto* items = array.array()) {
        for (const auto& section : *items) total += static_cast<int64_t>(section.isArray() ? section.count() : 0);
    }
    return total;
}

bool isAPlainArray(const Value& array) {
    const auto* items = array.array();
    if (!items || items->empty()) return true;
    return !items->front().isArray();
}

}  // namespace ArrayUtility
