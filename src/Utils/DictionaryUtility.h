// Null-safe reading of JSON dictionaries: a missing key and JSON null read
// alike, as nothing. Every model reads every service field through it.
#pragma once

#include <string_view>

#include "foundation/Value.h"

namespace DictionaryUtility {

// The value for `key`, or an absent value when the key is missing, its value is
// the null marker, or `dictionary` is not a dictionary.
const foundation::Value& objectForKeyNotNull(const foundation::Value& dictionary, std::string_view key);

}  // namespace DictionaryUtility
