// The "roomBeaconProximity" element of the floor plans: which beacon is near
// which room, the pair (idBeacon, idRoom), stored once by the maps service.
//
// Like every floor-plan extension element it skips the generic attribute step
// (no id, style or transform of its own) and draws nothing, so the layer
// builder leaves it and its children out.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGRoomBeaconProximityElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // Hands the element's data to the floor-plan sink while it collects; adds
    // nothing to the parse result.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    graphics::LayerPtr newLayer() const override { return nullptr; }

    std::string className() const override { return "SVGRoomBeaconProximityElement"; }
};

}  // namespace svg
