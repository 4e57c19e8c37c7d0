// The container layer of groups and svg elements. It never claims a point by
// its own area, only when one of its sublayers does, so the platform's hit
// test walks down to the shape actually drawn under the point.
#pragma once

#include "graphics/Layer.h"

namespace svg {

class CALayerWithChildHitTest : public graphics::Layer {
public:
    static std::shared_ptr<CALayerWithChildHitTest> layer() { return std::make_shared<CALayerWithChildHitTest>(); }
    std::string className() const override { return "CALayerWithChildHitTest"; }
    graphics::LayerPtr makeLayerOfSameClass() const override { return layer(); }

    // Inside the bounds and contained by a sublayer, asked in order with the
    // point converted into its coordinates. An empty container contains
    // nothing.
    bool containsPoint(graphics::Point p) const override;
};

}  // namespace svg
