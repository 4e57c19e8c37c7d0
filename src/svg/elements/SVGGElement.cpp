// The "g" element's layer and layout.
#include "svg/elements/SVGGElement.h"

#include "svg/layers/CALayerWithChildHitTest.h"
#include "svg/layers/GroupLayerLayout.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

graphics::LayerPtr SVGGElement::newLayer() const {
    auto layer = CALayerWithChildHitTest::layer();
    SVGHelperUtilities::configureCALayer(*layer, *this);
    return layer;
}

void SVGGElement::layoutLayer(const graphics::LayerPtr& layer) const {
    if (!layer) return;
    const auto& sublayers = layer->sublayers();
    frameLayerAroundSublayers(*layer, sublayers.empty() ? graphics::Rect::zero() : sublayers.front()->frame());
}

}  // namespace svg
