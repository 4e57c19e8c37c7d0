// Attribute accessors of QVACoreDataLoginDelegator rows.
#include "model/QVACoreDataLoginDelegator.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataLoginDelegator::email() const { return stringForKey("email"); }
void QVACoreDataLoginDelegator::setEmail(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "email");
}
std::optional<std::string> QVACoreDataLoginDelegator::firstName() const { return stringForKey("firstName"); }
void QVACoreDataLoginDelegator::setFirstName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "firstName");
}
std::optional<std::string> QVACoreDataLoginDelegator::fullName() const { return stringForKey("fullName"); }
void QVACoreDataLoginDelegator::setFullName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "fullName");
}
std::optional<std::string> QVACoreDataLoginDelegator::itemId() const { return stringForKey("itemId"); }
void QVACoreDataLoginDelegator::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataLoginDelegator::lastName() const { return stringForKey("lastName"); }
void QVACoreDataLoginDelegator::setLastName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "lastName");
}
std::optional<std::string> QVACoreDataLoginDelegator::type() const { return stringForKey("type"); }
void QVACoreDataLoginDelegator::setType(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "type");
}
std::optional<std::string> QVACoreDataLoginDelegator::revision() const { return stringForKey("revision"); }
void QVACoreDataLoginDelegator::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
