// Reading a stop. The opacity becomes an alpha byte as fills do: times 255,
// truncated toward zero, low eight bits kept.
#include "svg/elements/SVGGradientStop.h"

#include <cmath>
#include <cstdint>

#include "svg/css/SVGLength.h"
#include "svg/elements/SVGFloatFromString.h"
#include "svg/parser/SVGXParser.h"

namespace svg {

namespace {

uint8_t alphaByte(double opacity) {
    double scaled = std::trunc(opacity * 255.0);
    if (!std::isfinite(scaled)) return 0;
    return uint8_t(int64_t(std::fmod(scaled, 256.0)) & 0xff);
}

}  // namespace

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
        stopColor_.a = alphaByte(stopOpacity_);
    }
    if (std::string color = getAttribute("stop-color"); !color.empty()) {
        stopColor_ = SVGRGBAColorFromString(color.c_str());
    }
    if (std::string opacity = getAttribute("stop-opacity"); !opacity.empty()) {
        stopOpacity_ = SVGFloatFromString(opacity);
    }
    stopColor_.a = alphaByte(stopOpacity_);
}

}  // namespace svg
