#include "location/CLLocation.h"

#include <cmath>

#include "foundation/Format.h"

namespace location {

namespace {

constexpr double kEarthMeanRadiusMetres = 6371008.8;

double radians(double degrees) { return degrees * M_PI / 180.0; }

}  // namespace

std::shared_ptr<CLLocation> CLLocation::create(CLLocationCoordinate2D coordinate, double horizontalAccuracy,
                                               foundation::Date timestamp) {
    return std::make_shared<CLLocation>(coordinate, horizontalAccuracy, timestamp);
}

double CLLocation::distanceFromLocation(const CLLocation& other) const {
    // Haversine: well conditioned for the short distances the app compares.
    const double lat1 = radians(coordinate_.latitude);
    const double lat2 = radians(other.coordinate_.latitude);
    const double dLat = lat2 - lat1;
    const double dLon = radians(other.coordinate_.longitude - coordinate_.longitude);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthMeanRadiusMetres * std::asin(std::min(1.0, std::sqrt(h)));
}

std::string CLLocation::description() const {
    return foundation::Format("<%.6f,%.6f> +/- %.2f m @ %@", coordinate_.latitude, coordinate_.longitude,
                              horizontalAccuracy_, timestamp_.description());
}

}  // namespace location
