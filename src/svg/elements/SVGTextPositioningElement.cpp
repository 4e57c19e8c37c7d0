// The position attributes of text.
#include "svg/elements/SVGTextPositioningElement.h"

namespace svg {

void SVGTextPositioningElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGTextContentElement::postProcessAttributesAddingErrorsTo(parseResult);
    x_ = getAttributeAsSVGLength("x");
    y_ = getAttributeAsSVGLength("y");
    dx_ = getAttributeAsSVGLength("dx");
    dy_ = getAttributeAsSVGLength("dy");
    rotate_ = getAttributeAsSVGLength("rotate");
}

}  // namespace svg
