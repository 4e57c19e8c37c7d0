// Attribute accessors of QVACoreDataOrganization rows.
#include "model/QVACoreDataOrganization.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataOrganization::address() const { return stringForKey("address"); }
void QVACoreDataOrganization::setAddress(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "address");
}
std::optional<std::string> QVACoreDataOrganization::city() const { return stringForKey("city"); }
void QVACoreDataOrganization::setCity(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "city");
}
std::optional<std::string> QVACoreDataOrganization::commonName() const { return stringForKey("commonName"); }
void QVACoreDataOrganization::setCommonName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "commonName");
}
std::optional<std::string> QVACoreDataOrganization::country() const { return stringForKey("country"); }
void QVACoreDataOrganization::setCountry(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "country");
}
std::optional<std::string> QVACoreDataOrganization::email() const { return stringForKey("email"); }
void QVACoreDataOrganization::setEmail(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "email");
}
std::optional<std::string> QVACoreDataOrganization::itemId() const { return stringForKey("itemId"); }
void QVACoreDataOrganization::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataOrganization::logo() const { return stringForKey("logo"); }
void QVACoreDataOrganization::setLogo(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "logo");
}
std::optional<std::string> QVACoreDataOrganization::name() const { return stringForKey("name"); }
void QVACoreDataOrganization::setName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "name");
}
std::optional<std::string> QVACoreDataOrganization::organizationType() const {
    return stringForKey("organizationType");
}
void QVACoreDataOrganization::setOrganizationType(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "organizationType");
}
std::optional<std::string> QVACoreDataOrganization::phone() const { return stringForKey("phone"); }
void QVACoreDataOrganization::setPhone(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "phone");
}
std::optional<std::string> QVACoreDataOrganization::profile() const { return stringForKey("profile"); }
void QVACoreDataOrganization::setProfile(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "profile");
}
std::optional<std::string> QVACoreDataOrganization::revision() const { return stringForKey("revision"); }
void QVACoreDataOrganization::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataOrganization::sectionTitle() const { return stringForKey("sectionTitle"); }
void QVACoreDataOrganization::setSectionTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sectionTitle");
}
std::optional<std::string> QVACoreDataOrganization::sector() const { return stringForKey("sector"); }
void QVACoreDataOrganization::setSector(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sector");
}
std::optional<std::string> QVACoreDataOrganization::topLevelOrganizationId() const {
    return stringForKey("topLevelOrganizationId");
}
void QVACoreDataOrganization::setTopLevelOrganizationId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "topLevelOrganizationId");
}
std::optional<std::string> QVACoreDataOrganization::website() const { return stringForKey("website"); }
void QVACoreDataOrganization::setWebsite(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "website");
}
std::optional<std::string> QVACoreDataOrganization::zipCode() const { return stringForKey("zipCode"); }
void QVACoreDataOrganization::setZipCode(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "zipCode");
}
std::optional<std::string> QVACoreDataOrganization::poBox() const { return stringForKey("poBox"); }
void QVACoreDataOrganization::setPoBox(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "poBox");
}
