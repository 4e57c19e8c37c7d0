// One location fix: where, how precisely (the radius in metres; negative
// when the fix is invalid) and when it was measured.
#pragma once

#include <memory>
#include <string>

#include "foundation/Date.h"
#include "foundation/Object.h"
#include "location/CLTypes.h"

namespace location {

class CLLocation : public foundation::Object {
public:
    static std::shared_ptr<CLLocation> create(CLLocationCoordinate2D coordinate, double horizontalAccuracy,
                                              foundation::Date timestamp);

    CLLocation(CLLocationCoordinate2D coordinate, double horizontalAccuracy, foundation::Date timestamp)
        : coordinate_(coordinate), horizontalAccuracy_(horizontalAccuracy), timestamp_(timestamp) {}

    CLLocationCoordinate2D coordinate() const { return coordinate_; }
    double horizontalAccuracy() const { return horizontalAccuracy_; }
    foundation::Date timestamp() const { return timestamp_; }

    // The great-circle distance in metres, on a sphere of the Earth's mean
    // radius.
    double distanceFromLocation(const CLLocation& other) const;

    std::string className() const override { return "CLLocation"; }
    // "<46.225400,6.137200> +/- 10.00 m @ <timestamp>".
    std::string description() const override;

private:
    CLLocationCoordinate2D coordinate_;
    double horizontalAccuracy_;
    foundation::Date timestamp_;
};

using CLLocationPtr = std::shared_ptr<CLLocation>;

}  // namespace location
