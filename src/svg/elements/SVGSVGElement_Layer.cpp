// The layer of an svg element: the container the whole drawing (or a nested
// fragment) hangs in.
#include "svg/elements/SVGSVGElement.h"

#include "svg/layers/CALayerWithChildHitTest.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

graphics::LayerPtr SVGSVGElement::newLayer() const {
    auto layer = CALayerWithChildHitTest::layer();
    SVGHelperUtilities::configureCALayer(*layer, *this);
    layer->setFrame(CGRectFromSVGRect(viewport()));
    return layer;
}

}  // namespace svg
