// Hit-testing a container by its children.
#include "svg/layers/CALayerWithChildHitTest.h"

namespace svg {

bool CALayerWithChildHitTest::containsPoint(graphics::Point p) const {
    if (!bounds().contains(p)) return false;
    for (const auto& sublayer : sublayers()) {
        // A sublayer squashed flat by its transform covers no area.
        graphics::AffineTransform toSublayer = sublayer->transformToSuperlayer();
        if (!toSublayer.isInvertible()) continue;
        if (sublayer->containsPoint(toSublayer.invert().apply(p))) return true;
    }
    return false;
}

}  // namespace svg
