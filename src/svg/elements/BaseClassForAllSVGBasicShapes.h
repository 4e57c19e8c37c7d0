// The base of every element drawn as one path: path, polygon, polyline,
// rect, ellipse, circle, line, and the floor-plan extension elements. It
// keeps the shape's geometry in the element's own user units for the layer
// builder, and the element's transform.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "graphics/Path.h"
#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class BaseClassForAllSVGBasicShapes : public SVGElement, public SVGTransformable, public ConverterSVGToCALayer {
public:
    using SVGElement::SVGElement;

    // Null until the attribute step gives the shape a path; a path or
    // polygon without data keeps it null.
    const graphics::PathPtr& pathForShapeInRelativeCoords() const { return pathForShapeInRelativeCoords_; }
    void setPathForShapeInRelativeCoords(graphics::PathPtr path) { pathForShapeInRelativeCoords_ = std::move(path); }

    // The geometry the layer is drawn from. Shapes that keep no path (ellipse,
    // circle, line) build a fresh one on each call.
    virtual graphics::PathPtr newPathForLayer() const { return pathForShapeInRelativeCoords_; }

    // The shape layer of newPathForLayer (SVGHelperUtilities); the floor-plan
    // extension elements, which draw nothing, answer null.
    graphics::LayerPtr newLayer() const override;
    void layoutLayer(const graphics::LayerPtr& /*layer*/) const override {}

    std::string className() const override { return "BaseClassForAllSVGBasicShapes"; }

private:
    graphics::PathPtr pathForShapeInRelativeCoords_;
};

}  // namespace svg
