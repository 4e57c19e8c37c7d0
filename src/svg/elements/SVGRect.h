// The SVG rectangle, held by value in single precision. All four members at
// -1 is the "uninitialised" rectangle: the file gave no size or view box.
// Any other rectangle, the zero rectangle included, counts as given.
#pragma once

#include "graphics/Geometry.h"

namespace svg {

struct SVGRect {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

SVGRect SVGRectUninitialized();
bool SVGRectIsInitialized(const SVGRect& rect);
SVGRect SVGRectMake(float x, float y, float width, float height);
graphics::Rect CGRectFromSVGRect(const SVGRect& rect);
graphics::Size CGSizeFromSVGRect(const SVGRect& rect);

}  // namespace svg
