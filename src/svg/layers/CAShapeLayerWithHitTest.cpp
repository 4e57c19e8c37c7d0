// Hit-testing by outline rather than by bounding box.
#include "svg/layers/CAShapeLayerWithHitTest.h"

#include "foundation/Log.h"

namespace svg {

bool CAShapeLayerWithHitTest::containsPoint(graphics::Point p) const {
    if (!bounds().contains(p)) return false;
    if (!path() || !path()->containsPoint(p, graphics::FillRule::NonZero)) return false;
    for (const auto& sublayer : sublayers()) {
        foundation::Log("...contains point, Apple will now check sublayer: %@", sublayer);
    }
    return true;
}

}  // namespace svg
