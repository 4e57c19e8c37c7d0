// A group with an opacity of its own, read from its attribute alone, and a
// layer that carries the room keys. No tag makes one (the "g" tag makes an
// SVGGElement); unlike that group it carries no transform, so the transforms
// of its ancestors reach its children unchanged.
#pragma once

#include "svg/elements/SVGElement.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class SVGGroupElement : public SVGElement, public ConverterSVGToCALayer {
public:
    using SVGElement::SVGElement;

    // 1 unless a non-empty "opacity" attribute says otherwise; the cascade is
    // not consulted.
    double opacity() const { return opacity_; }

    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    // A hit-testing container with the layer keys and the stored opacity.
    graphics::LayerPtr newLayer() const override;
    // Frames the layer on the union of the origin and its children, then
    // re-bases the children on that frame.
    void layoutLayer(const graphics::LayerPtr& layer) const override;

    std::string className() const override { return "SVGGroupElement"; }

private:
    double opacity_ = 1.0;
};

}  // namespace svg
