// The position attributes of text.
#include "svg/elements/SVGTextPositioningElement.h"

#include "svg/css/SVGLength.h"

namespace svg {

void SVGTextPositioningElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGTextContentElement::postProcessAttributesAddingErrorsTo(parseResult);
    auto given = [this](const char* name) {
        std::string text = getAttribute(name);
        return text.empty() ? nullptr : SVGLength::svgLengthFromNSString(text);
    };
    x_ = given("x");
    y_ = given("y");
    dx_ = given("dx");
    dy_ = given("dy");
    rotate_ = given("rotate");
    attributesRead_ = true;
}

const std::shared_ptr<SVGLength>& SVGTextPositioningElement::lengthIn(std::shared_ptr<SVGLength>& slot) const {
    if (!slot && attributesRead_) slot = SVGLength::svgLengthFromNSString("");
    return slot;
}

}  // namespace svg
