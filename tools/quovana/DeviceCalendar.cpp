#include "quovana/DeviceCalendar.h"

#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/FileManager.h"
#include "foundation/JSONSerialization.h"

namespace quovana {

namespace {

std::string calendarAccessPath() { return foundation::ApplicationHome::libraryDirectory() + "/calendar-access.json"; }

}  // namespace

eventkit::EKCalendarPtr makeDeviceCalendar(SyncCalendarService& service, const std::string& title,
                                           foundation::ErrorPtr* error) {
    const auto& store = service.eventStore();
    // The device's own source is known through its calendars, and seen
    // whether or not the app was granted access.
    eventkit::EKSourcePtr source;
    for (const auto& calendar : store->deviceCalendars()) {
        const auto& owner = calendar->source();
        if (!owner || owner->sourceType() != eventkit::EKSourceType::Local) continue;
        if (calendar->title() == title) return calendar;
        source = owner;
    }
    if (!source) source = store->addSource(kDeviceSourceTitle, eventkit::EKSourceType::Local);
    return store->addCalendar(source, title, eventkit::EKCalendarType::Local, true, error);
}

bool provideDefaultDeviceCalendar(SyncCalendarService& service, foundation::ErrorPtr* error) {
    const auto& store = service.eventStore();
    // The service's store lives as long as the process, which may have used
    // another home before: the device is this home's.
    store->reset();
    for (const auto& calendar : store->deviceCalendars())
        if (calendar->allowsContentModifications()) return true;
    return makeDeviceCalendar(service, kDefaultDeviceCalendarTitle, error) != nullptr;
}

void restoreCalendarAccess() {
    auto data = foundation::FileManager::defaultManager().contentsAtPath(calendarAccessPath());
    if (!data) return;
    const auto saved = foundation::JSONSerialization::JSONObjectWithData(*data)["status"];
    if (!saved.isInteger()) return;
    const auto status = saved.integerValue();
    if (status < static_cast<int64_t>(eventkit::EKAuthorizationStatus::NotDetermined) ||
        status > static_cast<int64_t>(eventkit::EKAuthorizationStatus::Authorized))
        return;
    eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                   static_cast<eventkit::EKAuthorizationStatus>(status));
}

bool keepCalendarAccess() {
    const auto status = eventkit::EKEventStore::authorizationStatusForEntityType(eventkit::EKEntityType::Event);
    const foundation::Value saved(foundation::Value::Dictionary{{"status", foundation::Value(static_cast<long long>(status))}});
    auto text = foundation::JSONSerialization::dataWithJSONObject(saved);
    return text && foundation::FileManager::defaultManager().writeData(*text, calendarAccessPath(), true);
}

}  // namespace quovana
