#include "location/CLBeaconRegion.h"

namespace location {

std::shared_ptr<CLBeaconRegion> CLBeaconRegion::create(std::string proximityUUID, std::optional<int> major,
                                                       std::optional<std::string> identifier) {
    return std::make_shared<CLBeaconRegion>(std::move(proximityUUID), major, std::move(identifier));
}

std::string CLBeaconRegion::description() const {
    std::string text = CLRegion::description() + " (" + proximityUUID_;
    if (major_) text += " major " + std::to_string(*major_);
    return text + ")";
}

}  // namespace location
