// CSSStyleRule: the declaration block is parsed when the rule is made.
#include "svg/css/CSSStyleRule.h"

#include "foundation/Format.h"

namespace svg {

CSSStyleRule::CSSStyleRule(std::string selectorText, const std::string& styleText)
    : selectorText_(std::move(selectorText)), style_(std::make_shared<CSSStyleDeclaration>()) {
    style_->setCssText(styleText);
}

std::string CSSStyleRule::description() const { return foundation::Format("%@ : { %@ }", selectorText_, style_); }

}  // namespace svg
