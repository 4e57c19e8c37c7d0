// Line attributes and geometry.
#include "svg/elements/SVGLineElement.h"

#include "graphics/MutablePath.h"
#include "svg/elements/SVGFloatFromString.h"

namespace svg {

void SVGLineElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    auto read = [this](const char* name, double& target) {
        std::string text = getAttribute(name);
        if (!text.empty()) target = SVGFloatFromString(text);
    };
    read("x1", x1_);
    read("y1", y1_);
    read("x2", x2_);
    read("y2", y2_);
}

graphics::PathPtr SVGLineElement::newPathForLayer() const {
    auto path = std::make_shared<graphics::MutablePath>();
    path->moveToPoint({x1_, y1_});
    path->addLineToPoint({x2_, y2_});
    return path;
}

}  // namespace svg
