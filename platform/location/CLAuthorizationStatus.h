// What the user allowed the app to do with the device's position.
#pragma once

namespace location {

enum class CLAuthorizationStatus {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    AuthorizedAlways = 3,
    AuthorizedWhenInUse = 4,
};

}  // namespace location
