// A CSS value as text plus its kind: a primitive value (a number with a unit,
// or a string) or a list. Subclasses read the text when it is set.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/Object.h"

namespace svg {

// The DOM's value kinds.
enum CSSValueType : int32_t {
    CSS_INHERIT = 0,
    CSS_PRIMITIVE_VALUE = 1,
    CSS_VALUE_LIST = 2,
    CSS_CUSTOM = 3,
};

class CSSValue : public foundation::Object {
public:
    explicit CSSValue(CSSValueType valueType) : cssValueType_(valueType) {}

    // The text the value was made from, exactly as given.
    const std::string& cssText() const { return cssText_; }
    virtual void setCssText(const std::string& text) { cssText_ = text; }
    CSSValueType cssValueType() const { return cssValueType_; }

    std::string className() const override { return "CSSValue"; }

private:
    std::string cssText_;
    CSSValueType cssValueType_;
};

}  // namespace svg
