// (Helper) of event rows: a QVAEvent becomes one row, and a row becomes the
// dictionary the event-selection screen builds its QVAEvent from.
#include "model/QVACoreDataEvent.h"
#include "model/RowWriting.h"

void QVACoreDataEvent::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAEvent& event,
                                                    coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataEvent>(row, kEntityName, context)) target->copyFields(event);
}

void QVACoreDataEvent::copyFields(const QVAEvent& event) {
    setItemId(event.itemId());
    setEventName(event.eventName());
    setStartDate(event.startDate());
    setRevision(event.revision());
}

foundation::Value QVACoreDataEvent::toDicionary() const {
    foundation::Value::Dictionary dictionary;
    for (const auto& name : entity().attributeNames()) {
        foundation::Value value = valueForKey(name);
        dictionary[name] = value.isAbsent() ? foundation::Value::null() : std::move(value);
    }
    return foundation::Value(std::move(dictionary));
}
