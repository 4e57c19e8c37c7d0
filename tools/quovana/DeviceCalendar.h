// The device calendar a person would make in the device's calendar app: a
// writable calendar of that title in the device's own source ("On My
// Device", made when the device has none yet). A device that holds such a
// calendar already keeps it, as a person would not make it twice. A phone
// comes with a writable calendar of its own, "Calendar", so there is always
// one the agenda can be synced into.
#pragma once

#include <string>

#include "eventkit/EKCalendar.h"
#include "foundation/Error.h"

class SyncCalendarService;

namespace quovana {

inline constexpr const char* kDeviceSourceTitle = "On My Device";
inline constexpr const char* kDefaultDeviceCalendarTitle = "Calendar";

// The calendar, or null with the store's error.
eventkit::EKCalendarPtr makeDeviceCalendar(SyncCalendarService& service, const std::string& title,
                                           foundation::ErrorPtr* error);

// Reads the device's calendars from the home again and, when none of them
// can be written, makes the device's own "Calendar" there. False with the
// store's error when it cannot be made.
bool provideDefaultDeviceCalendar(SyncCalendarService& service, foundation::ErrorPtr* error);

// The person's answer to the app's calendar access, kept in the home as the
// device keeps it between launches: a relaunch neither asks again nor is
// refused what it was granted.
void restoreCalendarAccess();
bool keepCalendarAccess();

}  // namespace quovana
