// Attribute accessors of QVACoreDataBaseSession rows.
#include "model/QVACoreDataBaseSession.h"

#include "model/ModelReading.h"

using foundation::Value;

bool QVACoreDataBaseSession::cancelled() const { return boolForKey("cancelled"); }
void QVACoreDataBaseSession::setCancelled(bool value) { setValue(Value(value), "cancelled"); }
int32_t QVACoreDataBaseSession::capacity() const { return static_cast<int32_t>(integerForKey("capacity")); }
void QVACoreDataBaseSession::setCapacity(int32_t value) { setValue(Value(int(value)), "capacity"); }
std::optional<std::string> QVACoreDataBaseSession::contributors() const { return stringForKey("contributors"); }
void QVACoreDataBaseSession::setContributors(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "contributors");
}
std::optional<std::string> QVACoreDataBaseSession::currencyIsoCode() const { return stringForKey("currencyIsoCode"); }
void QVACoreDataBaseSession::setCurrencyIsoCode(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "currencyIsoCode");
}
int32_t QVACoreDataBaseSession::fee() const { return static_cast<int32_t>(integerForKey("fee")); }
void QVACoreDataBaseSession::setFee(int32_t value) { setValue(Value(int(value)), "fee"); }
std::optional<std::string> QVACoreDataBaseSession::feedbackUrl() const { return stringForKey("feedbackUrl"); }
void QVACoreDataBaseSession::setFeedbackUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "feedbackUrl");
}
std::optional<std::string> QVACoreDataBaseSession::itemId() const { return stringForKey("itemId"); }
void QVACoreDataBaseSession::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
int16_t QVACoreDataBaseSession::preparatoryDiscussionDurationInMinutes() const {
    return static_cast<int16_t>(integerForKey("preparatoryDiscussionDurationInMinutes"));
}
void QVACoreDataBaseSession::setPreparatoryDiscussionDurationInMinutes(int16_t value) {
    setValue(Value(int(value)), "preparatoryDiscussionDurationInMinutes");
}
bool QVACoreDataBaseSession::pressAllowed() const { return boolForKey("pressAllowed"); }
void QVACoreDataBaseSession::setPressAllowed(bool value) { setValue(Value(value), "pressAllowed"); }
std::optional<std::string> QVACoreDataBaseSession::programmeName() const { return stringForKey("programmeName"); }
void QVACoreDataBaseSession::setProgrammeName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "programmeName");
}
std::optional<std::string> QVACoreDataBaseSession::revision() const { return stringForKey("revision"); }
void QVACoreDataBaseSession::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
std::optional<std::string> QVACoreDataBaseSession::roomId() const { return stringForKey("roomId"); }
void QVACoreDataBaseSession::setRoomId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "roomId");
}
std::optional<std::string> QVACoreDataBaseSession::sessionDescription() const {
    return stringForKey("sessionDescription");
}
void QVACoreDataBaseSession::setSessionDescription(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sessionDescription");
}
std::optional<std::string> QVACoreDataBaseSession::sessionStructure() const { return stringForKey("sessionStructure"); }
void QVACoreDataBaseSession::setSessionStructure(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sessionStructure");
}
bool QVACoreDataBaseSession::signupRequired() const { return boolForKey("signupRequired"); }
void QVACoreDataBaseSession::setSignupRequired(bool value) { setValue(Value(value), "signupRequired"); }
bool QVACoreDataBaseSession::spouseAllowed() const { return boolForKey("spouseAllowed"); }
void QVACoreDataBaseSession::setSpouseAllowed(bool value) { setValue(Value(value), "spouseAllowed"); }
std::optional<std::string> QVACoreDataBaseSession::type() const { return stringForKey("type"); }
void QVACoreDataBaseSession::setType(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "type");
}
std::optional<std::string> QVACoreDataBaseSession::votingUrl() const { return stringForKey("votingUrl"); }
void QVACoreDataBaseSession::setVotingUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "votingUrl");
}
std::optional<std::string> QVACoreDataBaseSession::webcastUrl() const { return stringForKey("webcastUrl"); }
void QVACoreDataBaseSession::setWebcastUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "webcastUrl");
}
bool QVACoreDataBaseSession::withMeal() const { return boolForKey("withMeal"); }
void QVACoreDataBaseSession::setWithMeal(bool value) { setValue(Value(value), "withMeal"); }
std::optional<foundation::Data> QVACoreDataBaseSession::insights() const { return dataForKey("insights"); }
void QVACoreDataBaseSession::setInsights(const std::optional<foundation::Data>& value) {
    setValue(value ? Value(*value) : Value(), "insights");
}
