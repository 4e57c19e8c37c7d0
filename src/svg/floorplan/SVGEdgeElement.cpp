// The edge step. Coordinates are the leading number of the text, 0 when
// missing, so an edge without an end runs to the origin.
#include "svg/floorplan/SVGEdgeElement.h"

#include "svg/elements/SVGFloatFromString.h"
#include "svg/floorplan/SVGFloorPlanAttributes.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

namespace svg {

void SVGEdgeElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& /*parseResult*/) {
    SVGFloorPlanSink* sink = SVGFloorPlanSink::collectingSink();
    if (!sink) return;
    auto coordinate = [this](const char* name) { return SVGFloatFromString(getAttribute(name)); };
    graphics::Point start{coordinate("x1"), coordinate("y1")};
    graphics::Point end{coordinate("x2"), coordinate("y2")};
    // The start is resolved first, so an end at the start's position is the
    // start's node.
    SVGFloorPlanNode from = sink->nodeAtPosition(start, givenAttribute(*this, "idStart"));
    SVGFloorPlanNode to = sink->nodeAtPosition(end, givenAttribute(*this, "idEnd"));
    setIdentifier(from.pointIdentifier + "_" + to.pointIdentifier);
    sink->addEdge(from, to);
}

}  // namespace svg
