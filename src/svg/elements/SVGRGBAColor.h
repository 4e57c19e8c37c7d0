// Colours as the floor plans write them in "fill", "stroke" and "stop-color":
// "rgb(r,g,b)", "#rgb", "#rrggbb" or one of the 147 SVG colour keywords (lower
// case, matched exactly). Anything else is opaque black, so callers test for
// "none" before asking. Nothing is trimmed and nothing is reported.
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/Color.h"

namespace svg {

// Red, green, blue, alpha; alpha 255 is opaque.
struct SVGRGBAColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;
    bool operator==(const SVGRGBAColor&) const = default;
};

// NUL-terminated text; a null pointer reads as no colour, opaque black.
SVGRGBAColor SVGRGBAColorFromString(const char* text);
// Opaque black when the keyword is unknown.
SVGRGBAColor SVGRGBAColorForKeyword(std::string_view keyword);
// An opacity as an alpha byte, as the floor plans have always had it: times
// 255, truncated toward zero and cut to the low eight bits, so 1.5 wraps
// rather than clamps; 0 for a value that is not finite.
uint8_t SVGAlphaByteFromOpacity(double opacity);
// Device RGB, each byte over 255.
graphics::Color CGColorFromSVGRGBAColor(SVGRGBAColor color);

}  // namespace svg
