// One beacon heard while ranging: its numbers, how near it seems and the
// estimated distance in metres (negative when the device cannot tell).
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"
#include "location/CLTypes.h"

namespace location {

class CLBeacon : public foundation::Object {
public:
    static std::shared_ptr<CLBeacon> create(std::string proximityUUID, int major, int minor, CLProximity proximity,
                                            double accuracy);

    CLBeacon(std::string proximityUUID, int major, int minor, CLProximity proximity, double accuracy)
        : proximityUUID_(std::move(proximityUUID)), major_(major), minor_(minor), proximity_(proximity),
          accuracy_(accuracy) {}

    const std::string& proximityUUID() const { return proximityUUID_; }
    int major() const { return major_; }
    int minor() const { return minor_; }
    CLProximity proximity() const { return proximity_; }
    double accuracy() const { return accuracy_; }

    std::string className() const override { return "CLBeacon"; }
    std::string description() const override;

private:
    std::string proximityUUID_;
    int major_;
    int minor_;
    CLProximity proximity_;
    double accuracy_;
};

using CLBeaconPtr = std::shared_ptr<CLBeacon>;

// "unknown", "immediate", "near", "far".
const char* proximityName(CLProximity proximity);

}  // namespace location
