// Attribute accessors of QVACoreDataNotification rows.
#include "model/QVACoreDataNotification.h"

#include "model/ModelReading.h"

using foundation::Value;

bool QVACoreDataNotification::acknowledged() const { return boolForKey("acknowledged"); }
void QVACoreDataNotification::setAcknowledged(bool value) { setValue(Value(value), "acknowledged"); }
std::optional<std::string> QVACoreDataNotification::itemId() const { return stringForKey("itemId"); }
void QVACoreDataNotification::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataNotification::message() const { return stringForKey("message"); }
void QVACoreDataNotification::setMessage(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "message");
}
std::optional<std::string> QVACoreDataNotification::creation_date() const { return stringForKey("creation_date"); }
void QVACoreDataNotification::setCreation_date(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "creation_date");
}
