// The one registered floor-plan sink.
#include "svg/floorplan/SVGFloorPlanSink.h"

#include <atomic>

namespace svg {

namespace {

std::atomic<SVGFloorPlanSink*> registered{nullptr};

}  // namespace

void SVGFloorPlanSink::registerSink(SVGFloorPlanSink* sink) { registered.store(sink); }

SVGFloorPlanSink* SVGFloorPlanSink::registeredSink() { return registered.load(); }

SVGFloorPlanSink* SVGFloorPlanSink::collectingSink() {
    SVGFloorPlanSink* sink = registered.load();
    return sink && sink->shouldConstructIntersectionPointsAndGraph() ? sink : nullptr;
}

}  // namespace svg
