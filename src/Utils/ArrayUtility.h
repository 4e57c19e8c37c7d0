// Small queries on arrays of values: non-empty tests, string membership, unique
// elements and the shape of sectioned lists.
#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/Value.h"

namespace ArrayUtility {

// YES for an array with at least one element; absent or any non-array is NO.
bool any(const foundation::Value& array);
bool containsString(const foundation::Value& array, std::string_view text);
// Index of the first text element equal to `text`; -1 when there is none.
int32_t indexOfString(const foundation::Value& array, std::string_view text);
// Elements without repeats, each at its first position.
foundation::Value uniqueElements(const foundation::Value& array);
// For an array of arrays (sections), the total count of their elements.
int64_t indexedCount(const foundation::Value& array);
// YES when empty or the first element is not an array (a flat list).
bool isAPlainArray(const foundation::Value& array);

}  // namespace ArrayUtility
