// The analytics texts the app and the crash log rely on, verbatim, in one place.
#pragma once

namespace AnalyticsConstants {

// Super-properties: sent with every event once registered.
inline constexpr const char* kEventIdProperty = "Event id";
inline constexpr const char* kEventNameProperty = "Event name";
inline constexpr const char* kUserIdProperty = "User id";

// The crash-log line of a tracked event: calling function, source line, event name, data.
inline constexpr const char* kTrackedEventCrashLogFormat = "%s line %d $ User performed event %@ with data %@";

inline constexpr const char* kLogPrefix = "[Analytics] ";

// Below the application's Library.
inline constexpr const char* kDirectoryName = "Analytics";
inline constexpr const char* kArchiveFileName = "events.archive";

}  // namespace AnalyticsConstants
