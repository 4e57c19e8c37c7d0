// The shape layer of every drawn floor-plan shape. It claims a point only when
// the point lies inside its outline, so a tap in the empty corner of an
// L-shaped room falls through to whatever is drawn below it.
#pragma once

#include "graphics/ShapeLayer.h"

namespace svg {

class CAShapeLayerWithHitTest : public graphics::ShapeLayer {
public:
    static std::shared_ptr<CAShapeLayerWithHitTest> layer() { return std::make_shared<CAShapeLayerWithHitTest>(); }
    std::string className() const override { return "CAShapeLayerWithHitTest"; }
    graphics::LayerPtr makeLayerOfSameClass() const override { return layer(); }

    // Inside the bounds and inside the path by the non-zero rule; the path is
    // already in the layer's own coordinates. Sublayers are not asked.
    bool containsPoint(graphics::Point p) const override;
};

}  // namespace svg
