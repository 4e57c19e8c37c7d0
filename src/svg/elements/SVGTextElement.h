// The "text" element: room names and labels, drawn as one left-aligned line of
// black text in a text layer. Only the font size and family are taken from
// the cascade.
#pragma once

#include "svg/elements/SVGTextPositioningElement.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

// What a text element uses when the cascade gives no size, or no font can be
// made of the family it names.
inline constexpr double kSVGTextDefaultFontSize = 12;
inline constexpr const char* kSVGTextFallbackFontName = "Verdana";

class SVGTextElement : public SVGTextPositioningElement, public SVGTransformable, public ConverterSVGToCALayer {
public:
    using SVGTextPositioningElement::SVGTextPositioningElement;

    // A text layer holding the trimmed text content on one line, sized to it
    // and placed at (x, y) through the element's absolute transform.
    graphics::LayerPtr newLayer() const override;
    void layoutLayer(const graphics::LayerPtr& /*layer*/) const override {}

    std::string className() const override { return "SVGTextElement"; }
};

}  // namespace svg
