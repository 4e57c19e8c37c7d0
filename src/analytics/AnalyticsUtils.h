// The analytics facade the screens call. Each tracked event is tagged with the
// super-properties of the current meeting and account, written to the crash
// log, and queued in order, on the facade's own serial queue and in an
// archive in the application's Library, so nothing is lost across launches.
// No analytics service is reachable from here: the queue is the result, for
// tests and the command-line front to read. Callable from any thread.
#pragma once

#include <map>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

#include "analytics/AnalyticsEvent.h"
#include "analytics/AnalyticsSuperPropertiesProvider.h"
#include "foundation/Value.h"

class AnalyticsUtils {
public:
    // Creates the client for the current application home: the queue holds
    // what the archive held, and no super-properties are registered. Called
    // once at launch; a later call is a new launch (tests). Tracking before it
    // creates the client on first use.
    static void initializeAnalytics();

    // The app's source of the current meeting and account, registered at start-up.
    static void setSuperPropertiesProvider(std::shared_ptr<AnalyticsSuperPropertiesProvider> provider);
    // "Event id", "Event name" and "User id", each only when the provider has
    // it, join the properties of every later event and the crash log's values.
    static void registerSuperProperties();
    static void clearSuperProperties();

    // `where` names the caller in the crash-log line.
    static void trackEventWithName(const std::string& name,
                                   std::source_location where = std::source_location::current());
    // An absent value leaves its key out; a value that is not a string is
    // queued as its description.
    static void trackEventWithNameAndData(const std::string& name, const foundation::ValueDictionary& data,
                                          std::source_location where = std::source_location::current());

    static std::map<std::string, std::string> superProperties();
    // Waits until everything tracked before the call is queued and archived.
    static std::vector<AnalyticsEvent> queuedEvents();
    static std::string archivePath();
};
