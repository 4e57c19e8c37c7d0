// The use element's layer, borrowed from the element it refers to.
#include "svg/elements/SVGUseElement.h"

namespace svg {

const ConverterSVGToCALayer* SVGUseElement::referencedConverter() const {
    if (!instanceRoot_) return nullptr;
    return dynamic_cast<const ConverterSVGToCALayer*>(instanceRoot_->correspondingElement().get());
}

graphics::LayerPtr SVGUseElement::newLayer() const {
    const auto* referenced = referencedConverter();
    if (!referenced) return nullptr;
    auto layer = referenced->newLayer();
    if (!layer || layer->frame().isEmpty()) return layer;
    layer->setAffineTransform(concat(transform(), layer->affineTransform()));
    return layer;
}

void SVGUseElement::layoutLayer(const graphics::LayerPtr& layer) const {
    if (const auto* referenced = referencedConverter()) referenced->layoutLayer(layer);
}

}  // namespace svg
