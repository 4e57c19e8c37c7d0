// The rules of a style sheet, in order, with their selectors indexed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/ArrayIndex.h"
#include "foundation/Object.h"

namespace svg {

class CSSRule;
class CSSStyleRule;

class CSSRuleList : public foundation::Object {
public:
    using Array = std::vector<std::shared_ptr<CSSRule>>;

    Array& internalArray() { return internalArray_; }
    const Array& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // A position at or past length() is a programming error.
    const std::shared_ptr<CSSRule>& item(size_t index) const;

    // The first style rule whose selector is exactly the text, or null;
    // hashed, since the cascade asks for every property of every element.
    std::shared_ptr<CSSStyleRule> firstStyleRuleWithSelector(const std::string& selector) const;

    std::string className() const override { return "CSSRuleList"; }
    std::string description() const override;

private:
    static std::optional<std::string> selectorKey(const CSSRule& rule);

    Array internalArray_;
    foundation::ArrayIndex<CSSRule, std::string, std::hash<std::string>, &selectorKey> bySelector_;
};

}  // namespace svg
