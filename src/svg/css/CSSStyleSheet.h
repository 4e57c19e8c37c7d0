// A style sheet from the text of a "style" tag: a list of style rules. Rules
// are found by cutting the text at braces, after comments are removed; there
// are class selectors only (".room" is kept as "room").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/Object.h"

namespace svg {

class CSSRule;
class CSSRuleList;

class CSSStyleSheet : public foundation::Object {
public:
    explicit CSSStyleSheet(std::string_view text);

    const std::shared_ptr<CSSRuleList>& cssRules() const { return cssRules_; }
    // Never set by the library.
    const std::shared_ptr<CSSRule>& ownerRule() const { return ownerRule_; }

    // Inserts the rule "selector{declarations}" at the position and answers
    // the position, or -1 when the text has no "{". A position past the rule
    // count is a programming error.
    int64_t insertRule(std::string_view rule, size_t index);
    // A position at or past the rule count is a programming error.
    void deleteRule(size_t index);

    std::string className() const override { return "CSSStyleSheet"; }

private:
    std::shared_ptr<CSSRuleList> cssRules_;
    std::shared_ptr<CSSRule> ownerRule_;
};

}  // namespace svg
