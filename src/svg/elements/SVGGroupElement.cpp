// The opacity group: its attribute step, layer and layout.
#include "svg/elements/SVGGroupElement.h"

#include "svg/elements/SVGFloatFromString.h"
#include "svg/layers/CALayerWithChildHitTest.h"
#include "svg/layers/GroupLayerLayout.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

void SVGGroupElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGElement::postProcessAttributesAddingErrorsTo(parseResult);
    if (std::string opacity = getAttribute("opacity"); !opacity.empty()) {
        opacity_ = double(float(SVGFloatFromString(opacity)));
    }
}

graphics::LayerPtr SVGGroupElement::newLayer() const {
    auto layer = CALayerWithChildHitTest::layer();
    layer->setName(identifier());
    layer->setValue(identifier() ? foundation::Value(*identifier()) : foundation::Value(), kSVGElementIdentifierKey);
    if (isSelectable()) layer->setValue(*isSelectable(), kSVGElementIsSelectableKey);
    if (pointOfInterestType()) layer->setValue(*pointOfInterestType(), kSVGElementPointOfInterestTypeKey);
    layer->setOpacity(opacity_);
    return layer;
}

void SVGGroupElement::layoutLayer(const graphics::LayerPtr& layer) const {
    if (layer) frameLayerAroundSublayers(*layer, graphics::Rect::zero());
}

}  // namespace svg
