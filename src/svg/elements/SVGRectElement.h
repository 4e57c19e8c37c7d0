// The "rect" element: a rectangle, with rounded corners when "rx" or "ry" is
// given. The path is built once, in the attribute step.
#pragma once

#include <memory>

#include "graphics/MutablePath.h"
#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

// Appends the closed outline of the rectangle with elliptical corners of radii
// rx and ry (y pointing down): from the top edge's left end clockwise on
// screen, each corner an arc of increasing angle. Radii are used as given,
// without clamping to the rectangle.
void SVGPathAddRoundedRect(graphics::MutablePath& path, const graphics::Rect& rect, double rx, double ry);

class SVGRectElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // Null where the attribute is not given; the geometry counts those as 0.
    const std::shared_ptr<SVGLength>& x() const { return x_; }
    const std::shared_ptr<SVGLength>& y() const { return y_; }
    const std::shared_ptr<SVGLength>& width() const { return width_; }
    const std::shared_ptr<SVGLength>& height() const { return height_; }
    const std::shared_ptr<SVGLength>& rx() const { return rx_; }
    const std::shared_ptr<SVGLength>& ry() const { return ry_; }

    // The inherited step, then the six lengths and the path. A single radius
    // serves both; with neither (or both 0) the corners are square.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGRectElement"; }

private:
    std::shared_ptr<SVGLength> x_, y_, width_, height_, rx_, ry_;
};

}  // namespace svg
