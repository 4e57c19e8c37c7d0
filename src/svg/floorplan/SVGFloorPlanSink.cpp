// The one registered floor-plan sink.
#include "svg/floorplan/SVGFloorPlanSink.h"

#include <atomic>

namespace svg {

namespace {

std::atomic<SVGFloorPlanSink*> registered{nullptr};
thread_local int floorPlanSinkSilencedScopes = 0;

}  // namespace

void SVGFloorPlanSink::registerSink(SVGFloorPlanSink* sink) { registered.store(sink); }

SVGFloorPlanSink* SVGFloorPlanSink::registeredSink() { return registered.load(); }

SVGFloorPlanSink* SVGFloorPlanSink::collectingSink() {
    if (floorPlanSinkSilencedScopes > 0) return nullptr;
    SVGFloorPlanSink* sink = registered.load();
    return sink && sink->shouldConstructIntersectionPointsAndGraph() ? sink : nullptr;
}

SVGFloorPlanSink::CollectingNothing::CollectingNothing() { ++floorPlanSinkSilencedScopes; }

SVGFloorPlanSink::CollectingNothing::~CollectingNothing() { --floorPlanSinkSilencedScopes; }

}  // namespace svg
