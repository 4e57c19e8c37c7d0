// The rectangle functions.
#include "svg/elements/SVGRect.h"

namespace svg {

SVGRect SVGRectUninitialized() { return SVGRect{-1, -1, -1, -1}; }

bool SVGRectIsInitialized(const SVGRect& rect) {
    return !(rect.x == -1 && rect.y == -1 && rect.width == -1 && rect.height == -1);
}

SVGRect SVGRectMake(float x, float y, float width, float height) { return SVGRect{x, y, width, height}; }

graphics::Rect CGRectFromSVGRect(const SVGRect& rect) {
    return graphics::Rect(rect.x, rect.y, rect.width, rect.height);
}

graphics::Size CGSizeFromSVGRect(const SVGRect& rect) { return graphics::Size{rect.width, rect.height}; }

}  // namespace svg
