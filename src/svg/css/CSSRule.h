// The base of CSS rules. The library only makes style rules and sets none of
// these fields; they exist so rules keep the DOM's shape.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/Object.h"

namespace svg {

class CSSStyleSheet;

class CSSRule : public foundation::Object {
public:
    uint16_t type() const { return type_; }
    void setType(uint16_t type) { type_ = type; }
    const std::string& cssText() const { return cssText_; }
    void setCssText(std::string text) { cssText_ = std::move(text); }
    std::shared_ptr<CSSStyleSheet> parentStyleSheet() const { return parentStyleSheet_.lock(); }
    void setParentStyleSheet(const std::shared_ptr<CSSStyleSheet>& sheet) { parentStyleSheet_ = sheet; }
    std::shared_ptr<CSSRule> parentRule() const { return parentRule_.lock(); }
    void setParentRule(const std::shared_ptr<CSSRule>& rule) { parentRule_ = rule; }

    std::string className() const override { return "CSSRule"; }

private:
    uint16_t type_ = 0;
    std::string cssText_;
    std::weak_ptr<CSSStyleSheet> parentStyleSheet_;
    std::weak_ptr<CSSRule> parentRule_;
};

}  // namespace svg
