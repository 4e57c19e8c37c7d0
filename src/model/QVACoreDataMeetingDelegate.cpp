// Attribute accessors of QVACoreDataMeetingDelegate rows.
#include "model/QVACoreDataMeetingDelegate.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataMeetingDelegate::firstName() const { return stringForKey("firstName"); }
void QVACoreDataMeetingDelegate::setFirstName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "firstName");
}
std::optional<std::string> QVACoreDataMeetingDelegate::fullName() const { return stringForKey("fullName"); }
void QVACoreDataMeetingDelegate::setFullName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "fullName");
}
std::optional<std::string> QVACoreDataMeetingDelegate::itemId() const { return stringForKey("itemId"); }
void QVACoreDataMeetingDelegate::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataMeetingDelegate::lastName() const { return stringForKey("lastName"); }
void QVACoreDataMeetingDelegate::setLastName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "lastName");
}
std::optional<std::string> QVACoreDataMeetingDelegate::photoUrl() const { return stringForKey("photoUrl"); }
void QVACoreDataMeetingDelegate::setPhotoUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "photoUrl");
}
std::optional<std::string> QVACoreDataMeetingDelegate::revision() const { return stringForKey("revision"); }
void QVACoreDataMeetingDelegate::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
