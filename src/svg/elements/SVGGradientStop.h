// The "stop" element of a gradient: where along the ramp (offset) and which
// colour, with the opacity folded into the colour's alpha byte. Attributes
// win over the "style" attribute's declarations.
#pragma once

#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGRGBAColor.h"

namespace svg {

class SVGGradientStop : public SVGElement {
public:
    using SVGElement::SVGElement;

    // 0 when not given; "50%" and "0.5" both read 0.5.
    double offset() const { return offset_; }
    // All zero bytes until read; the alpha byte always follows stopOpacity.
    SVGRGBAColor stopColor() const { return stopColor_; }
    double stopOpacity() const { return stopOpacity_; }

    // The inherited step, then offset, the style's stop properties, and the
    // stop attributes over them.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGGradientStop"; }

private:
    double offset_ = 0;
    SVGRGBAColor stopColor_;
    double stopOpacity_ = 1.0;
};

}  // namespace svg
