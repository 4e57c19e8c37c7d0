// The beacon step.
#include "svg/floorplan/SVGBeaconElement.h"

#include "svg/floorplan/SVGFloorPlanAttributes.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

namespace svg {

void SVGBeaconElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& /*parseResult*/) {
    SVGFloorPlanSink* sink = SVGFloorPlanSink::collectingSink();
    if (!sink) return;
    auto identifier = givenAttribute(*this, "id");
    if (!identifier) return;
    sink->addBeacon({*identifier, givenAttribute(*this, "major"), givenAttribute(*this, "minor")});
}

}  // namespace svg
