// CSSRuleList: index checks and the description.
#include "svg/css/CSSRuleList.h"

#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "svg/css/CSSRule.h"

namespace svg {

const std::shared_ptr<CSSRule>& CSSRuleList::item(size_t index) const {
    if (index >= internalArray_.size()) {
        foundation::raise(foundation::kRangeException, "CSSRuleList item: index beyond bounds");
    }
    return internalArray_[index];
}

std::string CSSRuleList::description() const {
    foundation::Value::Array rules;
    for (const auto& rule : internalArray_) rules.emplace_back(rule);
    return foundation::Format("CSSRuleList: array(%@)", foundation::Value(std::move(rules)));
}

}  // namespace svg
