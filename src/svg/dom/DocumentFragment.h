// A nameless holder of nodes; replacing a child with a fragment puts the
// fragment's children in its place.
#pragma once

#include "svg/dom/Node.h"

namespace svg {

class DocumentFragment : public Node {
public:
    DocumentFragment() : Node(DOMNodeType::DocumentFragment, "") {}

    std::string className() const override { return "DocumentFragment"; }
};

}  // namespace svg
