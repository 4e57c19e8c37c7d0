// The rules of a style sheet, in order.
#pragma once

#include <memory>
#include <vector>

#include "foundation/Object.h"

namespace svg {

class CSSRule;

class CSSRuleList : public foundation::Object {
public:
    using Array = std::vector<std::shared_ptr<CSSRule>>;

    Array& internalArray() { return internalArray_; }
    const Array& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // A position at or past length() is a programming error.
    const std::shared_ptr<CSSRule>& item(size_t index) const;

    std::string className() const override { return "CSSRuleList"; }
    std::string description() const override;

private:
    Array internalArray_;
};

}  // namespace svg
