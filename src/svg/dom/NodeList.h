// The ordered children of a node, in document order; also the answer of the
// tag-name searches.
#pragma once

#include <memory>
#include <vector>

#include "foundation/Object.h"

namespace svg {

class Node;

class NodeList : public foundation::Object {
public:
    using Array = std::vector<std::shared_ptr<Node>>;

    Array& internalArray() { return internalArray_; }
    const Array& internalArray() const { return internalArray_; }
    size_t length() const { return internalArray_.size(); }
    // An index at or past length() is a programming error.
    const std::shared_ptr<Node>& item(size_t index) const;

    Array::const_iterator begin() const { return internalArray_.begin(); }
    Array::const_iterator end() const { return internalArray_.end(); }

    std::string className() const override { return "NodeList"; }
    std::string description() const override;

private:
    Array internalArray_;
};

}  // namespace svg
