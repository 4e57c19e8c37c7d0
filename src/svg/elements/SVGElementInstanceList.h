// The ordered children of an element instance.
#pragma once

#include <memory>
#include <vector>

#include "foundation/Object.h"

namespace svg {

class SVGElementInstance;

class SVGElementInstanceList : public foundation::Object {
public:
    using Array = std::vector<std::shared_ptr<SVGElementInstance>>;

    Array& internalArray() { return internalArray_; }
    const Array& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // Null at or past the end.
    std::shared_ptr<SVGElementInstance> item(size_t index) const {
        return index < internalArray_.size() ? internalArray_[index] : nullptr;
    }

    std::string className() const override { return "SVGElementInstanceList"; }

private:
    Array internalArray_;
};

}  // namespace svg
