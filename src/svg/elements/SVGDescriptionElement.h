// The "desc" element: its text stays in the document tree as text nodes.
#pragma once

#include "svg/elements/SVGElement.h"

namespace svg {

class SVGDescriptionElement : public SVGElement {
public:
    using SVGElement::SVGElement;

    static bool shouldStoreContent() { return true; }

    std::string className() const override { return "SVGDescriptionElement"; }
};

}  // namespace svg
