#include "lists/CommunityValues.h"

#include "foundation/StringUtils.h"
#include "Utils/StringUtility.h"

namespace CommunityValues {

foundation::Value::Array offered(const std::string& defaultValue, const std::vector<std::string>& communities) {
    foundation::Value::Array values{foundation::Value(defaultValue)};
    for (const auto& community : communities) {
        std::string trimmed = foundation::StringUtils::trimWhitespace(community);
        if (!StringUtility::isNilOrEmpty(std::string_view(trimmed))) values.emplace_back(std::move(trimmed));
    }
    return values;
}

}  // namespace CommunityValues
