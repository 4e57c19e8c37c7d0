// A CSS value list. Its text is cut at spaces into plain strings; nothing in
// the library reads the pieces as values yet, which the log says.
#pragma once

#include <string>
#include <vector>

#include "svg/css/CSSValue.h"

namespace svg {

class CSSValueList : public CSSValue {
public:
    CSSValueList() : CSSValue(CSS_VALUE_LIST) {}

    void setCssText(const std::string& text) override;

    const std::vector<std::string>& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // A position at or past length() is a programming error.
    const std::string& item(size_t index) const;

    std::string className() const override { return "CSSValueList"; }

private:
    std::vector<std::string> internalArray_;
};

}  // namespace svg
