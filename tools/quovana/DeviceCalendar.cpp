#include "quovana/DeviceCalendar.h"

#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"

namespace quovana {

eventkit::EKCalendarPtr makeDeviceCalendar(SyncCalendarService& service, const std::string& title,
                                           foundation::ErrorPtr* error) {
    const auto& store = service.eventStore();
    eventkit::EKSourcePtr source;
    for (const auto& candidate : store->sources())
        if (candidate->sourceType() == eventkit::EKSourceType::Local) source = candidate;
    if (!source) source = store->addSource(kDeviceSourceTitle, eventkit::EKSourceType::Local);
    return store->addCalendar(source, title, eventkit::EKCalendarType::Local, true, error);
}

}  // namespace quovana
