// The "edge" element of the floor plans: a segment of the walkable graph, from
// (x1, y1) to (x2, y2). Each end becomes a graph node of the current floor,
// shared with every other edge ending at exactly the same position; the
// element's identifier becomes "start_end" of the two nodes' ids.
//
// Like every floor-plan extension element it skips the generic attribute step
// (no id, style or transform of its own) and draws nothing, so the layer
// builder leaves it and its children out.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGEdgeElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    // Hands the element's data to the floor-plan sink while it collects; adds
    // nothing to the parse result.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    graphics::LayerPtr newLayer() const override { return nullptr; }

    std::string className() const override { return "SVGEdgeElement"; }
};

}  // namespace svg
