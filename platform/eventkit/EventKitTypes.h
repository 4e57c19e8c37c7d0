// The enumerations of the device calendar, with the platform's numbering:
// callers store and compare these numbers.
#pragma once

namespace eventkit {

enum class EKEntityType { Event = 0, Reminder = 1 };

enum class EKAuthorizationStatus { NotDetermined = 0, Restricted = 1, Denied = 2, Authorized = 3 };

enum class EKSourceType { Local = 0, Exchange = 1, CalDAV = 2, MobileMe = 3, Subscribed = 4, Birthdays = 5 };

enum class EKCalendarType { Local = 0, CalDAV = 1, Exchange = 2, Subscription = 3, Birthday = 4 };

// How far a change to a repeating event reaches; events here never repeat.
enum class EKSpan { ThisEvent = 0, FutureEvents = 1 };

// Codes of the errors the event store gives, in the domain below.
inline constexpr const char* kEKErrorDomain = "EKErrorDomain";
namespace EKError {
inline constexpr int EventNotMutable = 0;
inline constexpr int NoCalendar = 1;
inline constexpr int NoStartDate = 2;
inline constexpr int NoEndDate = 3;
inline constexpr int DatesInverted = 4;
inline constexpr int CalendarReadOnly = 6;
inline constexpr int CalendarDoesNotAllowEvents = 7;
inline constexpr int EventStoreNotAuthorized = 29;
}  // namespace EKError

}  // namespace eventkit
