// The beacon regions of the loaded maps and the look-ups of map beacons by
// their numbers. The regions and their states belong to the main thread; the
// beacons are read there once a parse run has filled them.
#include "maps/InteractiveMapsServices.h"

#include <charconv>
#include <optional>
#include <set>
#include <string>

#include "foundation/Log.h"
#include "location/CLBeaconRegion.h"
#include "maps/LocationManagerHelper.h"

namespace {

// A major as a floor plan wrote it, when it is a whole number.
std::optional<int> majorNumber(const std::optional<std::string>& written) {
    if (!written || written->empty()) return std::nullopt;
    int value = 0;
    const char* end = written->data() + written->size();
    auto [stop, problem] = std::from_chars(written->data(), end, value);
    if (problem != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

void InteractiveMapsServices::initMonitoredRegionsIfNotInited() {
    if (!monitoredBeaconRegions_.empty()) return;
    std::set<int> majors;
    for (const auto& [identifier, beacon] : beaconsForPositioning()) {
        auto major = majorNumber(beacon->major());
        if (major)
            majors.insert(*major);
        else
            foundation::Log("The beacon %@ has no usable major", identifier);
    }
    for (int major : majors) {
        const std::string identifier = LocationManagerHelper::beaconRegionIdentifierForMajor(major);
        monitoredBeaconRegions_.push_back(
            location::CLBeaconRegion::create(LocationManagerHelper::kBeaconRegionProximityUUID, major, identifier));
        monitoredRegionStates_[identifier] = 0;
    }
}

std::shared_ptr<BeaconObject> InteractiveMapsServices::getBeaconObjectForMajorString(const std::string& major,
                                                                                     const std::string& minor) const {
    for (const auto& [identifier, beacon] : beaconsForPositioning())
        if (beacon->major() == major && beacon->minor() == minor) return beacon;
    return nullptr;
}

bool InteractiveMapsServices::isBeaconWithIdentifier(const std::string& beaconIdentifier, int major) const {
    const auto beacons = beaconsForPositioning();
    auto beacon = beacons.find(beaconIdentifier);
    return beacon != beacons.end() && majorNumber(beacon->second->major()) == major;
}
