// A beacon of the indoor maps, as a floor plan declares it: its id and its
// major and minor numbers as written in the file, and the floor it is on.
#pragma once

#include <optional>
#include <string>

#include "foundation/Object.h"

class BeaconObject : public foundation::Object {
public:
    const std::optional<std::string>& beaconIdentifier() const { return beaconIdentifier_; }
    void setBeaconIdentifier(std::optional<std::string> value) { beaconIdentifier_ = std::move(value); }
    const std::optional<std::string>& major() const { return major_; }
    void setMajor(std::optional<std::string> value) { major_ = std::move(value); }
    const std::optional<std::string>& minor() const { return minor_; }
    void setMinor(std::optional<std::string> value) { minor_ = std::move(value); }
    const std::optional<std::string>& floorIdentifier() const { return floorIdentifier_; }
    void setFloorIdentifier(std::optional<std::string> value) { floorIdentifier_ = std::move(value); }

    std::string className() const override { return "BeaconObject"; }

private:
    std::optional<std::string> beaconIdentifier_;
    std::optional<std::string> major_;
    std::optional<std::string> minor_;
    std::optional<std::string> floorIdentifier_;
};
