// The style sheets of a document, in document order. Entries are plain
// objects: the cascade takes those that are CSS style sheets and passes over
// anything else.
#pragma once

#include <memory>
#include <vector>

#include "foundation/Object.h"

namespace svg {

class StyleSheetList : public foundation::Object {
public:
    using Array = std::vector<foundation::ObjectPtr>;

    Array& internalArray() { return internalArray_; }
    const Array& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // A position at or past length() is a programming error.
    const foundation::ObjectPtr& item(size_t index) const;

    std::string className() const override { return "StyleSheetList"; }

private:
    Array internalArray_;
};

}  // namespace svg
