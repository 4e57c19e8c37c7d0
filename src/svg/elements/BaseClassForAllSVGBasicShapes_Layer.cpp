// The layer of a basic shape: its geometry handed to the shared shape-layer
// builder.
#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

graphics::LayerPtr BaseClassForAllSVGBasicShapes::newLayer() const {
    return SVGHelperUtilities::newCALayerForPathBasedSVGElement(*this, newPathForLayer());
}

}  // namespace svg
