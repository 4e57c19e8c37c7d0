// Attribute accessors of QVACoreDataMessageRecipient rows.
#include "model/QVACoreDataMessageRecipient.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataMessageRecipient::fullName() const { return stringForKey("fullName"); }
void QVACoreDataMessageRecipient::setFullName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "fullName");
}
std::optional<std::string> QVACoreDataMessageRecipient::itemId() const { return stringForKey("itemId"); }
void QVACoreDataMessageRecipient::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataMessageRecipient::revision() const { return stringForKey("revision"); }
void QVACoreDataMessageRecipient::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataMessageRecipient::sectionTitle() const { return stringForKey("sectionTitle"); }
void QVACoreDataMessageRecipient::setSectionTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sectionTitle");
}
std::optional<std::string> QVACoreDataMessageRecipient::firstName() const { return stringForKey("firstName"); }
void QVACoreDataMessageRecipient::setFirstName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "firstName");
}
std::optional<std::string> QVACoreDataMessageRecipient::lastName() const { return stringForKey("lastName"); }
void QVACoreDataMessageRecipient::setLastName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "lastName");
}
