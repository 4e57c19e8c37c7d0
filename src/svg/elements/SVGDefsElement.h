// The "defs" element: a container for definitions (gradients, shapes that
// "use" elements draw). It draws nothing itself, so the layer builder passes
// over it and everything inside it.
#pragma once

#include "svg/elements/SVGElement.h"

namespace svg {

class SVGDefsElement : public SVGElement {
public:
    using SVGElement::SVGElement;

    std::string className() const override { return "SVGDefsElement"; }
};

}  // namespace svg
