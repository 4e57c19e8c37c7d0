// Ellipse attributes and geometry.
#include "svg/elements/SVGEllipseElement.h"

#include "graphics/MutablePath.h"
#include "svg/elements/SVGFloatFromString.h"

namespace svg {

void SVGEllipseElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    auto read = [this](const char* name, double& target) {
        std::string text = getAttribute(name);
        if (!text.empty()) target = SVGFloatFromString(text);
    };
    read("cx", cx_);
    read("cy", cy_);
    read("rx", rx_);
    read("ry", ry_);
    if (std::string r = getAttribute("r"); !r.empty()) rx_ = ry_ = SVGFloatFromString(r);
}

graphics::PathPtr SVGEllipseElement::newPathForLayer() const {
    auto path = std::make_shared<graphics::MutablePath>();
    path->addEllipseInRect(graphics::Rect(cx_ - rx_, cy_ - ry_, 2 * rx_, 2 * ry_));
    return path;
}

}  // namespace svg
