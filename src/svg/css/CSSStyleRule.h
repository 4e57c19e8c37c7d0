// A style rule: a selector text and its declaration block. Selectors are not
// interpreted; the cascade compares the text with an element's class.
#pragma once

#include <memory>
#include <string>

#include "svg/css/CSSRule.h"
#include "svg/css/CSSStyleDeclaration.h"

namespace svg {

class CSSStyleRule : public CSSRule {
public:
    CSSStyleRule(std::string selectorText, const std::string& styleText);

    const std::string& selectorText() const { return selectorText_; }
    void setSelectorText(std::string text) { selectorText_ = std::move(text); }
    const std::shared_ptr<CSSStyleDeclaration>& style() const { return style_; }
    void setStyle(std::shared_ptr<CSSStyleDeclaration> style) { style_ = std::move(style); }

    std::string className() const override { return "CSSStyleRule"; }
    std::string description() const override;

private:
    std::string selectorText_;
    std::shared_ptr<CSSStyleDeclaration> style_;
};

}  // namespace svg
