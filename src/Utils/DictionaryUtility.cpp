#include "Utils/DictionaryUtility.h"

namespace DictionaryUtility {

const foundation::Value& objectForKeyNotNull(const foundation::Value& dictionary, std::string_view key) {
    static const foundation::Value absent;
    const auto& v = dictionary[key];
    return v.isNull() ? absent : v;
}

}  // namespace DictionaryUtility
