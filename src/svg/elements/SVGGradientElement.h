// The "linearGradient" and "radialGradient" elements: the stops the parser
// hands them, and the gradient layer a shape filled with "url(#id)" is drawn
// with. Colours and locations are read from the stops once, on the first
// layer request, after which the stops are let go; every later layer reuses
// them. Attributes a gradient lacks are taken from its parent "g".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGRect.h"
#include "svg/elements/SVGTransformable.h"

namespace svg {

class SVGGradientLayer;
class SVGGradientStop;
class SVGLength;

class SVGGradientElement : public SVGElement, public SVGTransformable {
public:
    using SVGElement::SVGElement;

    // In document order; empty again once the first layer is built.
    const std::vector<std::shared_ptr<SVGGradientStop>>& stops() const { return stops_; }
    void addStop(std::shared_ptr<SVGGradientStop> stop);
    // Empty until the first layer request.
    const std::vector<graphics::Color>& colors() const { return colors_; }
    // Single-precision values, widened.
    const std::vector<double>& locations() const { return locations_; }

    // The parent g's value when this element lacks the attribute, else its
    // own ("" when absent).
    std::string getAttributeInheritedIfNil(const std::string& name) const;

    // Each coordinate as a fraction of the rectangle: 0 for a zero value or
    // a rectangle without extent on that axis; plain numbers and pixels
    // measured from the rectangle's origin; percentages as their fraction;
    // other units 0.
    static graphics::Point normalizeGradientCoordinate(const SVGLength& x, const SVGLength& y,
                                                       const graphics::Rect& rectToFill);

    // A layer framed on the object's rectangle (or on the viewport for
    // "userSpaceOnUse"), with start and end points, type, colours and
    // locations. The caller owns it.
    std::shared_ptr<SVGGradientLayer> newGradientLayerForObjectRect(const graphics::Rect& objectRect,
                                                                    const SVGRect& viewportRect);

    std::string className() const override { return "SVGGradientElement"; }

private:
    std::vector<std::shared_ptr<SVGGradientStop>> stops_;
    std::vector<graphics::Color> colors_;
    std::vector<double> locations_;
    bool colorsBuilt_ = false;
};

}  // namespace svg
