#include "location/CLBeacon.h"

#include "foundation/Format.h"

namespace location {

std::shared_ptr<CLBeacon> CLBeacon::create(std::string proximityUUID, int major, int minor, CLProximity proximity,
                                           double accuracy) {
    return std::make_shared<CLBeacon>(std::move(proximityUUID), major, minor, proximity, accuracy);
}

std::string CLBeacon::description() const {
    return foundation::Format("CLBeacon %d:%d %@ %.2f m", major_, minor_, proximityName(proximity_), accuracy_);
}

const char* proximityName(CLProximity proximity) {
    switch (proximity) {
        case CLProximity::Immediate: return "immediate";
        case CLProximity::Near: return "near";
        case CLProximity::Far: return "far";
        case CLProximity::Unknown: break;
    }
    return "unknown";
}

}  // namespace location
