// The walks use an explicit stack, so a deeply nested document cannot exhaust
// the thread's stack.
#include "svg/dom/DOMHelperUtilities.h"

#include <vector>

#include "svg/dom/Element.h"
#include "svg/dom/NodeList.h"

namespace svg {

namespace {

// Visits nodes in pre-order until the visitor answers true.
template <class Visit>
void walk(const std::shared_ptr<Node>& start, Visit visit) {
    if (!start) return;
    std::vector<std::shared_ptr<Node>> pending{start};
    while (!pending.empty()) {
        auto node = std::move(pending.back());
        pending.pop_back();
        if (visit(node)) return;
        const auto& children = node->childNodes()->internalArray();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

}  // namespace

void DOMHelperUtilities::privateGetElementsByName(const std::string& name,
                                                  const std::optional<std::string>& namespaceURI,
                                                  const std::shared_ptr<Node>& start, NodeList& list) {
    bool any = name == "*";
    walk(start, [&](const std::shared_ptr<Node>& node) {
        auto element = std::dynamic_pointer_cast<Element>(node);
        if (!element) return false;
        bool matches = namespaceURI ? element->namespaceURI() == namespaceURI && (any || element->localName() == name)
                                    : any || element->tagName() == name;
        if (matches) list.internalArray().push_back(element);
        return false;
    });
}

std::shared_ptr<Element> DOMHelperUtilities::privateGetElementById(const std::string& identifier,
                                                                   const std::shared_ptr<Node>& start) {
    std::shared_ptr<Element> found;
    walk(start, [&](const std::shared_ptr<Node>& node) {
        auto element = std::dynamic_pointer_cast<Element>(node);
        if (element && element->getAttribute("id") == identifier) found = element;
        return found != nullptr;
    });
    return found;
}

}  // namespace svg
