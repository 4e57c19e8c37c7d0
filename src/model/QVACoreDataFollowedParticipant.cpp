// Attribute accessors of QVACoreDataFollowedParticipant rows.
#include "model/QVACoreDataFollowedParticipant.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataFollowedParticipant::firstName() const { return stringForKey("firstName"); }
void QVACoreDataFollowedParticipant::setFirstName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "firstName");
}
std::optional<std::string> QVACoreDataFollowedParticipant::lastName() const { return stringForKey("lastName"); }
void QVACoreDataFollowedParticipant::setLastName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "lastName");
}
std::optional<std::string> QVACoreDataFollowedParticipant::fullName() const { return stringForKey("fullName"); }
void QVACoreDataFollowedParticipant::setFullName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "fullName");
}
std::optional<std::string> QVACoreDataFollowedParticipant::itemId() const { return stringForKey("itemId"); }
void QVACoreDataFollowedParticipant::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
