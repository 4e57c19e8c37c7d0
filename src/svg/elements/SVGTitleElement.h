// The "title" element: its text stays in the document tree as text nodes.
#pragma once

#include "svg/elements/SVGElement.h"

namespace svg {

class SVGTitleElement : public SVGElement {
public:
    using SVGElement::SVGElement;

    static bool shouldStoreContent() { return true; }

    std::string className() const override { return "SVGTitleElement"; }
};

}  // namespace svg
