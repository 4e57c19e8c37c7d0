// The "circle" element: an ellipse whose "r" sets both radii.
#pragma once

#include "svg/elements/SVGEllipseElement.h"

namespace svg {

class SVGCircleElement : public SVGEllipseElement {
public:
    using SVGEllipseElement::SVGEllipseElement;

    // The radius when both radii agree; otherwise logged and 0.
    double r() const;

    std::string className() const override { return "SVGCircleElement"; }
};

}  // namespace svg
