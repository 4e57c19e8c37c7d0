// The instance tree's links.
#include "svg/elements/SVGElementInstance.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace svg {

void SVGElementInstance::setParentNode(const std::shared_ptr<SVGElementInstance>& parent) {
    auto current = parentNode_.lock();
    if (parent == current) return;
    auto self = std::static_pointer_cast<SVGElementInstance>(shared_from_this());
    if (parent) {
        parentNode_ = parent;
        parent->childNodes_->internalArray().push_back(self);
        return;
    }
    if (current) {
        auto& siblings = current->childNodes_->internalArray();
        siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    }
    parentNode_.reset();
}

SVGElementInstance::~SVGElementInstance() {
    if (!childNodes_ || childNodes_.use_count() != 1) return;
    std::vector<std::shared_ptr<SVGElementInstance>> dying = std::move(childNodes_->internalArray());
    childNodes_->internalArray().clear();
    while (!dying.empty()) {
        std::shared_ptr<SVGElementInstance> instance = std::move(dying.back());
        dying.pop_back();
        if (instance.use_count() == 1 && instance->childNodes_ && instance->childNodes_.use_count() == 1) {
            auto& children = instance->childNodes_->internalArray();
            std::move(children.begin(), children.end(), std::back_inserter(dying));
            children.clear();
        }
    }
}

std::shared_ptr<SVGElementInstance> SVGElementInstance::firstChild() const { return childNodes_->item(0); }

std::shared_ptr<SVGElementInstance> SVGElementInstance::lastChild() const {
    const auto& children = childNodes_->internalArray();
    return children.empty() ? nullptr : children.back();
}

std::shared_ptr<SVGElementInstance> SVGElementInstance::sibling(int step) const {
    auto parent = parentNode_.lock();
    if (!parent) return nullptr;
    const auto& siblings = parent->childNodes_->internalArray();
    auto at = std::find_if(siblings.begin(), siblings.end(), [&](const auto& entry) { return entry.get() == this; });
    if (at == siblings.end()) return nullptr;
    auto index = std::ptrdiff_t(at - siblings.begin()) + step;
    if (index < 0 || index >= std::ptrdiff_t(siblings.size())) return nullptr;
    return siblings[size_t(index)];
}

std::shared_ptr<SVGElementInstance> SVGElementInstance::previousSibling() const { return sibling(-1); }
std::shared_ptr<SVGElementInstance> SVGElementInstance::nextSibling() const { return sibling(1); }

}  // namespace svg
