// The region of the beacons that send one proximity UUID, narrowed to one
// major number when given.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "location/CLRegion.h"

namespace location {

class CLBeaconRegion : public CLRegion {
public:
    static std::shared_ptr<CLBeaconRegion> create(std::string proximityUUID, std::optional<int> major,
                                                  std::optional<std::string> identifier);

    CLBeaconRegion(std::string proximityUUID, std::optional<int> major, std::optional<std::string> identifier)
        : CLRegion(std::move(identifier)), proximityUUID_(std::move(proximityUUID)), major_(major) {}

    const std::string& proximityUUID() const { return proximityUUID_; }
    const std::optional<int>& major() const { return major_; }

    std::string className() const override { return "CLBeaconRegion"; }
    std::string description() const override;

private:
    std::string proximityUUID_;
    std::optional<int> major_;
};

using CLBeaconRegionPtr = std::shared_ptr<CLBeaconRegion>;

}  // namespace location
