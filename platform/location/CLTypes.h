// The small value types of the location services: where the device stands
// towards a region, how near a ranged beacon is, a coordinate, the accuracy
// asked of location fixes, and the error domain of the services' failures.
#pragma once

#include <cstdint>

#include "location/CLAuthorizationStatus.h"

namespace location {

enum class CLRegionState {
    Unknown = 0,
    Inside = 1,
    Outside = 2,
};

enum class CLProximity {
    Unknown = 0,
    Immediate = 1,
    Near = 2,
    Far = 3,
};

struct CLLocationCoordinate2D {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const CLLocationCoordinate2D&) const = default;
};

// In metres; the best the device can do.
inline constexpr double kCLLocationAccuracyBest = -1;

inline constexpr const char* kCLErrorDomain = "kCLErrorDomain";
enum CLErrorCode : int64_t {
    kCLErrorLocationUnknown = 0,
    kCLErrorDenied = 1,
    kCLErrorRangingUnavailable = 16,
    kCLErrorRangingFailure = 17,
};

}  // namespace location
