// Attribute accessors of QVACoreDataEvent rows.
#include "model/QVACoreDataEvent.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataEvent::eventName() const { return stringForKey("eventName"); }
void QVACoreDataEvent::setEventName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "eventName");
}
std::optional<std::string> QVACoreDataEvent::startDate() const { return stringForKey("startDate"); }
void QVACoreDataEvent::setStartDate(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "startDate");
}
std::optional<std::string> QVACoreDataEvent::itemId() const { return stringForKey("itemId"); }
void QVACoreDataEvent::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataEvent::revision() const { return stringForKey("revision"); }
void QVACoreDataEvent::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
