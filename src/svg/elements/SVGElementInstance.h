// One node of the instance tree a "use" element draws from: the element it
// stands for and the use element that made it, with its own parent and
// children. The parser's use step makes one instance per referenced element
// and per element child of it. Parents own their children; the parent and
// the use element are held weakly, which keeps the use element, its instance
// tree and the instances' parents free of ownership cycles.
#pragma once

#include <memory>

#include "foundation/Object.h"
#include "svg/elements/SVGElementInstanceList.h"

namespace svg {

class SVGElement;
class SVGUseElement;

class SVGElementInstance : public foundation::Object {
public:
    const std::shared_ptr<SVGElement>& correspondingElement() const { return correspondingElement_; }
    void setCorrespondingElement(std::shared_ptr<SVGElement> element) { correspondingElement_ = std::move(element); }
    std::shared_ptr<SVGUseElement> correspondingUseElement() const { return correspondingUseElement_.lock(); }
    void setCorrespondingUseElement(const std::shared_ptr<SVGUseElement>& element) {
        correspondingUseElement_ = element;
    }

    std::shared_ptr<SVGElementInstance> parentNode() const { return parentNode_.lock(); }
    // Appends this instance to the new parent's children; null takes it out
    // of the current parent's. Setting the current parent again does nothing.
    // The instance must be held by a shared pointer.
    void setParentNode(const std::shared_ptr<SVGElementInstance>& parent);
    const std::shared_ptr<SVGElementInstanceList>& childNodes() const { return childNodes_; }

    // Null where there is no such instance.
    std::shared_ptr<SVGElementInstance> firstChild() const;
    std::shared_ptr<SVGElementInstance> lastChild() const;
    std::shared_ptr<SVGElementInstance> previousSibling() const;
    std::shared_ptr<SVGElementInstance> nextSibling() const;

    // Lets go of the instance subtree level by level, so a use of a deeply
    // nested group costs heap, not stack.
    ~SVGElementInstance() override;

    std::string className() const override { return "SVGElementInstance"; }

private:
    // The instance step places after (or before, when negative) this one
    // among its parent's children.
    std::shared_ptr<SVGElementInstance> sibling(int step) const;

    std::shared_ptr<SVGElement> correspondingElement_;
    std::weak_ptr<SVGUseElement> correspondingUseElement_;
    std::weak_ptr<SVGElementInstance> parentNode_;
    std::shared_ptr<SVGElementInstanceList> childNodes_ = std::make_shared<SVGElementInstanceList>();
};

}  // namespace svg
