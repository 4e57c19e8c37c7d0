// Stairs as an element class of their own. No tag makes one: floor plans
// mark stairs as points of interest of type "stairs". It reads nothing and
// draws nothing.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGStairsElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& /*parseResult*/) override {}
    graphics::LayerPtr newLayer() const override { return nullptr; }

    std::string className() const override { return "SVGStairsElement"; }
};

}  // namespace svg
