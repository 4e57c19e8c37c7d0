// CSSRuleList: index checks, the selector look-up and the description.
#include "svg/css/CSSRuleList.h"

#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "svg/css/CSSRule.h"
#include "svg/css/CSSStyleRule.h"

namespace svg {

const std::shared_ptr<CSSRule>& CSSRuleList::item(size_t index) const {
    if (index >= internalArray_.size()) {
        foundation::raise(foundation::kRangeException, "CSSRuleList item: index beyond bounds");
    }
    return internalArray_[index];
}

std::optional<std::string> CSSRuleList::selectorKey(const CSSRule& rule) {
    const auto* styleRule = dynamic_cast<const CSSStyleRule*>(&rule);
    if (!styleRule) return std::nullopt;
    return styleRule->selectorText();
}

std::shared_ptr<CSSStyleRule> CSSRuleList::firstStyleRuleWithSelector(const std::string& selector) const {
    int32_t index = bySelector_.find(internalArray_, selector);
    return index < 0 ? nullptr : std::static_pointer_cast<CSSStyleRule>(internalArray_[size_t(index)]);
}

std::string CSSRuleList::description() const {
    foundation::Value::Array rules;
    for (const auto& rule : internalArray_) rules.emplace_back(rule);
    return foundation::Format("CSSRuleList: array(%@)", foundation::Value(std::move(rules)));
}

}  // namespace svg
