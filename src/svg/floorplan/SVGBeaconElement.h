// The "beacon" element of the floor plans: a beacon mounted on the floor. Its
// id, major and minor go to the maps service as written; a beacon without an
// id is dropped.
//
// Like every floor-plan extension element it skips the generic attribute step
// (no id, style or transform of its own) and draws nothing, so the layer
// builder leaves it and its children out.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGBeaconElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // Hands the element's data to the floor-plan sink while it collects; adds
    // nothing to the parse result.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    graphics::LayerPtr newLayer() const override { return nullptr; }

    std::string className() const override { return "SVGBeaconElement"; }
};

}  // namespace svg
