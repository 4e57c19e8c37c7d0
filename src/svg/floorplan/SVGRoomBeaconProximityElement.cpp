// The beacon-to-room step.
#include "svg/floorplan/SVGRoomBeaconProximityElement.h"

#include "svg/floorplan/SVGFloorPlanAttributes.h"
#include "svg/floorplan/SVGFloorPlanSink.h"

namespace svg {

void SVGRoomBeaconProximityElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& /*parseResult*/) {
    SVGFloorPlanSink* sink = SVGFloorPlanSink::collectingSink();
    if (!sink) return;
    sink->addRoomBeaconProximity({givenAttribute(*this, "idBeacon"), givenAttribute(*this, "idRoom")});
}

}  // namespace svg
