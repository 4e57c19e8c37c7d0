// Rectangles and rounded rectangles. Each corner is a unit-circle arc
// stretched to (rx, ry) and moved to the corner's centre, which is exactly
// the elliptical corner and stays defined when one radius is 0.
#include "svg/elements/SVGRectElement.h"

#include <numbers>

#include "svg/css/SVGLength.h"

namespace svg {

namespace {

std::shared_ptr<SVGLength> lengthAttribute(const SVGElement& element, const std::string& name) {
    std::string text = element.getAttribute(name);
    return text.empty() ? nullptr : SVGLength::svgLengthFromNSString(text);
}


}  // namespace

void SVGPathAddRoundedRect(graphics::MutablePath& path, const graphics::Rect& rect, double rx, double ry) {
    using graphics::AffineTransform;
    constexpr double pi = std::numbers::pi;
    double x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    double left = x + rx, right = x + w - rx, top = y + ry, bottom = y + h - ry;
    auto corner = [&](double cx, double cy, double from, double to) {
        AffineTransform toCorner = concat(AffineTransform::makeScale(rx, ry), AffineTransform::makeTranslation(cx, cy));
        path.addArc(graphics::Point{}, 1, from, to, false, toCorner);
    };
    path.moveToPoint({left, y});
    path.addLineToPoint({right, y});
    corner(right, top, -pi / 2, 0);
    path.addLineToPoint({x + w, bottom});
    corner(right, bottom, 0, pi / 2);
    path.addLineToPoint({left, y + h});
    corner(left, bottom, pi / 2, pi);
    path.addLineToPoint({x, top});
    corner(left, top, pi, 3 * pi / 2);
    path.closeSubpath();
}

void SVGRectElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    x_ = lengthAttribute(*this, "x");
    y_ = lengthAttribute(*this, "y");
    width_ = lengthAttribute(*this, "width");
    height_ = lengthAttribute(*this, "height");
    rx_ = lengthAttribute(*this, "rx");
    ry_ = lengthAttribute(*this, "ry");

    graphics::Rect rect(SVGLength::pixelsOf(x_), SVGLength::pixelsOf(y_), SVGLength::pixelsOf(width_),
                        SVGLength::pixelsOf(height_));
    double rx = SVGLength::pixelsOf(rx_), ry = SVGLength::pixelsOf(ry_);
    auto path = std::make_shared<graphics::MutablePath>();
    if (rx == 0 && ry == 0) {
        path->addRect(rect);
    } else {
        if (rx > 0 && ry == 0) {
            ry = rx;
        } else if (rx == 0 && ry > 0) {
            rx = ry;
        }
        SVGPathAddRoundedRect(*path, rect, rx, ry);
    }
    setPathForShapeInRelativeCoords(std::move(path));
}

}  // namespace svg
