// NodeList: index checks and the description.
#include "svg/dom/NodeList.h"

#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "svg/dom/Node.h"

namespace svg {

const std::shared_ptr<Node>& NodeList::item(size_t index) const {
    if (index >= internalArray_.size()) {
        foundation::raise(
            foundation::kRangeException,
            foundation::Format("index %lu beyond bounds of a NodeList of %lu", index, internalArray_.size()));
    }
    return internalArray_[index];
}

std::string NodeList::description() const {
    foundation::Value::Array items;
    for (const auto& node : internalArray_) items.emplace_back(node);
    return foundation::Format("NodeList: array(%@)", foundation::Value(std::move(items)));
}

}  // namespace svg
