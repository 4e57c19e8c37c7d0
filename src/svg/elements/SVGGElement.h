// The "g" element: a transformable group whose layer gathers its children's
// layers and whose presentation properties its descendants fall back to in
// the cascade.
#pragma once

#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class SVGGElement : public SVGElement, public SVGTransformable, public ConverterSVGToCALayer {
public:
    using SVGElement::SVGElement;

    bool isGroupForCascade() const override { return true; }

    // A hit-testing container with the common layer set-up.
    graphics::LayerPtr newLayer() const override;
    // Frames the layer exactly around its children (the zero rectangle when
    // it has none) and re-bases them, so they keep their place on the drawing.
    void layoutLayer(const graphics::LayerPtr& layer) const override;

    std::string className() const override { return "SVGGElement"; }
};

}  // namespace svg
