// Attribute accessors of QVACoreDataParticipant rows.
#include "model/QVACoreDataParticipant.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataParticipant::contributions() const { return stringForKey("contributions"); }
void QVACoreDataParticipant::setContributions(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "contributions");
}
std::optional<std::string> QVACoreDataParticipant::countryOfNationality() const {
    return stringForKey("countryOfNationality");
}
void QVACoreDataParticipant::setCountryOfNationality(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "countryOfNationality");
}
std::optional<std::string> QVACoreDataParticipant::email() const { return stringForKey("email"); }
void QVACoreDataParticipant::setEmail(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "email");
}
std::optional<std::string> QVACoreDataParticipant::firstName() const { return stringForKey("firstName"); }
void QVACoreDataParticipant::setFirstName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "firstName");
}
std::optional<std::string> QVACoreDataParticipant::quovanaNetworks() const { return stringForKey("quovanaNetworks"); }
void QVACoreDataParticipant::setQuovanaNetworks(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "quovanaNetworks");
}
std::optional<std::string> QVACoreDataParticipant::fullName() const { return stringForKey("fullName"); }
void QVACoreDataParticipant::setFullName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "fullName");
}
bool QVACoreDataParticipant::inBooklet() const { return boolForKey("inBooklet"); }
void QVACoreDataParticipant::setInBooklet(bool value) { setValue(Value(value), "inBooklet"); }
std::optional<std::string> QVACoreDataParticipant::itemId() const { return stringForKey("itemId"); }
void QVACoreDataParticipant::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataParticipant::lastName() const { return stringForKey("lastName"); }
void QVACoreDataParticipant::setLastName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "lastName");
}
std::optional<std::string> QVACoreDataParticipant::mobilePhone() const { return stringForKey("mobilePhone"); }
void QVACoreDataParticipant::setMobilePhone(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "mobilePhone");
}
std::optional<std::string> QVACoreDataParticipant::organizationId() const { return stringForKey("organizationId"); }
void QVACoreDataParticipant::setOrganizationId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "organizationId");
}
std::optional<std::string> QVACoreDataParticipant::organizationName() const { return stringForKey("organizationName"); }
void QVACoreDataParticipant::setOrganizationName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "organizationName");
}
std::optional<std::string> QVACoreDataParticipant::organizationType() const { return stringForKey("organizationType"); }
void QVACoreDataParticipant::setOrganizationType(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "organizationType");
}
std::optional<std::string> QVACoreDataParticipant::phone() const { return stringForKey("phone"); }
void QVACoreDataParticipant::setPhone(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "phone");
}
std::optional<std::string> QVACoreDataParticipant::photoUrl() const { return stringForKey("photoUrl"); }
void QVACoreDataParticipant::setPhotoUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "photoUrl");
}
std::optional<std::string> QVACoreDataParticipant::positionTitle() const { return stringForKey("positionTitle"); }
void QVACoreDataParticipant::setPositionTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "positionTitle");
}
std::optional<std::string> QVACoreDataParticipant::profile() const { return stringForKey("profile"); }
void QVACoreDataParticipant::setProfile(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "profile");
}
bool QVACoreDataParticipant::publicFigure() const { return boolForKey("publicFigure"); }
void QVACoreDataParticipant::setPublicFigure(bool value) { setValue(Value(value), "publicFigure"); }
std::optional<std::string> QVACoreDataParticipant::revision() const { return stringForKey("revision"); }
void QVACoreDataParticipant::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataParticipant::sectionTitle() const { return stringForKey("sectionTitle"); }
void QVACoreDataParticipant::setSectionTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sectionTitle");
}
std::optional<foundation::Data> QVACoreDataParticipant::socialAccounts() const { return dataForKey("socialAccounts"); }
void QVACoreDataParticipant::setSocialAccounts(const std::optional<foundation::Data>& value) {
    setValue(value ? Value(*value) : Value(), "socialAccounts");
}
std::optional<std::string> QVACoreDataParticipant::thumbnailUrl() const { return stringForKey("thumbnailUrl"); }
void QVACoreDataParticipant::setThumbnailUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "thumbnailUrl");
}
std::optional<std::string> QVACoreDataParticipant::topLevelOrganizationId() const {
    return stringForKey("topLevelOrganizationId");
}
void QVACoreDataParticipant::setTopLevelOrganizationId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "topLevelOrganizationId");
}
