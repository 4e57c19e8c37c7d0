// A source's calendars come from its store.
#include "eventkit/EKSource.h"

#include "eventkit/EKEventStore.h"

namespace eventkit {

std::vector<std::shared_ptr<EKCalendar>> EKSource::calendarsForEntityType(EKEntityType type) const {
    auto store = store_.lock();
    if (!store || type != EKEntityType::Event) return {};
    return store->calendarsOfSource(sourceIdentifier_);
}

}  // namespace eventkit
