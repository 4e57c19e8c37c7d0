// Reading a stop. The opacity becomes an alpha byte as fills do.
#include "svg/elements/SVGGradientStop.h"

#include <cmath>
#include <cstdint>

#include "svg/css/SVGLength.h"
#include "svg/elements/SVGFloatFromString.h"
#include "svg/parser/SVGXParser.h"

namespace svg {

void SVGGradientStop::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGElement::postProcessAttributesAddingErrorsTo(parseResult);

    if (std::string offset = getAttribute("offset"); !offset.empty()) {
        offset_ = SVGLength::svgLengthFromNSString(offset)->numberValue();
    }
    if (!getAttribute("style").empty()) {
        auto declarations = SVGXParser::NSDictionaryFromCSSAttributes(getAttributeNode("style"));
        if (auto color = declarations.find("stop-color"); color != declarations.end()) {
            stopColor_ = SVGRGBAColorFromString(color->second->value().c_str());
        }
        if (auto opacity = declarations.find("stop-opacity"); opacity != declarations.end()) {
            stopOpacity_ = SVGFloatFromString(opacity->second->value());
        }
        stopColor_.a = SVGAlphaByteFromOpacity(stopOpacity_);
    }
    if (std::string color = getAttribute("stop-color"); !color.empty()) {
        stopColor_ = SVGRGBAColorFromString(color.c_str());
    }
    if (std::string opacity = getAttribute("stop-opacity"); !opacity.empty()) {
        stopOpacity_ = SVGFloatFromString(opacity);
    }
    stopColor_.a = SVGAlphaByteFromOpacity(stopOpacity_);
}

}  // namespace svg
