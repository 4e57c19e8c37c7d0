// The device calendar a person would make in the device's calendar app: a
// writable calendar of that title in the device's own source ("On My
// Device", made when the device has none yet).
#pragma once

#include <string>

#include "eventkit/EKCalendar.h"
#include "foundation/Error.h"

class SyncCalendarService;

namespace quovana {

inline constexpr const char* kDeviceSourceTitle = "On My Device";

// The new calendar, or null with the store's error.
eventkit::EKCalendarPtr makeDeviceCalendar(SyncCalendarService& service, const std::string& title,
                                           foundation::ErrorPtr* error);

}  // namespace quovana
