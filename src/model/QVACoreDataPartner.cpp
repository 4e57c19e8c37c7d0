// Attribute accessors of QVACoreDataPartner rows.
#include "model/QVACoreDataPartner.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataPartner::commonName() const { return stringForKey("commonName"); }
void QVACoreDataPartner::setCommonName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "commonName");
}
std::optional<std::string> QVACoreDataPartner::engagementType() const { return stringForKey("engagementType"); }
void QVACoreDataPartner::setEngagementType(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "engagementType");
}
std::optional<std::string> QVACoreDataPartner::itemId() const { return stringForKey("itemId"); }
void QVACoreDataPartner::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataPartner::logoUrl() const { return stringForKey("logoUrl"); }
void QVACoreDataPartner::setLogoUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "logoUrl");
}
std::optional<std::string> QVACoreDataPartner::name() const { return stringForKey("name"); }
void QVACoreDataPartner::setName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "name");
}
std::optional<std::string> QVACoreDataPartner::profile() const { return stringForKey("profile"); }
void QVACoreDataPartner::setProfile(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "profile");
}
std::optional<std::string> QVACoreDataPartner::revision() const { return stringForKey("revision"); }
void QVACoreDataPartner::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataPartner::thumbnailUrl() const { return stringForKey("thumbnailUrl"); }
void QVACoreDataPartner::setThumbnailUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "thumbnailUrl");
}
