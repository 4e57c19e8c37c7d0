// The settings store over the standard user defaults.
#include "settings/ApplicationSettingsStore.h"

#include "foundation/Format.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/UserDefaults.h"
#include "model/ModelClass.h"

using foundation::Value;

namespace {

foundation::UserDefaults& defaults() { return foundation::UserDefaults::standardUserDefaults(); }

Value optionalValue(const std::optional<std::string>& text) { return text ? Value(*text) : Value(); }
Value optionalValue(const std::optional<foundation::Date>& date) { return date ? Value(*date) : Value(); }
Value optionalValue(const std::optional<Value::Dictionary>& dictionary) {
    return dictionary ? Value(*dictionary) : Value();
}

}  // namespace

ApplicationSettingsStore::ApplicationSettingsStore() {
    // The account and the meeting are read back through their archive
    // factories; a read before the app registered them would lose the user.
    registerModelClasses();
}

ApplicationSettingsStore& ApplicationSettingsStore::sharedApplicationSettingsStore() {
    static ApplicationSettingsStore store;
    return store;
}

Value ApplicationSettingsStore::getUserDefaultsForKey(const std::string& key) const {
    auto data = defaults().dataForKey(key);
    if (!data) return Value();
    return foundation::KeyedUnarchiver::unarchiveValueWithData(*data);
}

void ApplicationSettingsStore::setUserDefaultsForKey(const std::string& key, const Value& object) {
    if (object.isNothing()) {
        resetUserDefaultsForkey(key);
        return;
    }
    defaults().setObject(Value(foundation::KeyedArchiver::archivedDataWithRootObject(object)), key);
    defaults().synchronize();
}

void ApplicationSettingsStore::resetUserDefaultsForkey(const std::string& key) {
    defaults().removeObjectForKey(key);
    defaults().synchronize();
}

void ApplicationSettingsStore::clear() {
    // Every key, foreign ones included, in one atomic write: a crash while
    // clearing never leaves a signed-in account beside a cleared meeting.
    defaults().removePersistentDomain();
    defaults().synchronize();
}

bool ApplicationSettingsStore::flag(const char* key, bool defaultValue) const {
    Value value = getUserDefaultsForKey(key);
    return value ? value.boolValue() : defaultValue;
}

ApplicationSettingsStore::Text ApplicationSettingsStore::text(const char* key) const {
    Value value = getUserDefaultsForKey(key);
    if (const auto* s = value.string()) return *s;
    return std::nullopt;
}

std::optional<foundation::Date> ApplicationSettingsStore::date(const char* key) const {
    Value value = getUserDefaultsForKey(key);
    if (const auto* d = value.date()) return *d;
    return std::nullopt;
}

Value::Dictionary ApplicationSettingsStore::dictionary(const char* key) const {
    Value value = getUserDefaultsForKey(key);
    if (const auto* d = value.dictionary()) return *d;
    return {};
}

std::shared_ptr<QVAUserAccount> ApplicationSettingsStore::currentAccount() const {
    return getUserDefaultsForKey(kCurrentAccountKey).objectAs<QVAUserAccount>();
}
void ApplicationSettingsStore::setCurrentAccount(const std::shared_ptr<QVAUserAccount>& account) {
    setUserDefaultsForKey(kCurrentAccountKey, Value(account));
}

std::shared_ptr<QVAEvent> ApplicationSettingsStore::currentEvent() const {
    return getUserDefaultsForKey(kCurrentEventKey).objectAs<QVAEvent>();
}
void ApplicationSettingsStore::setCurrentEvent(const std::shared_ptr<QVAEvent>& event) {
    setUserDefaultsForKey(kCurrentEventKey, Value(event));
}

ApplicationSettingsStore::Text ApplicationSettingsStore::currentAuthToken() const {
    auto account = currentAccount();
    return account ? account->authenticationCode() : std::nullopt;
}

ApplicationSettingsStore::Text ApplicationSettingsStore::currentEventId() const {
    auto event = currentEvent();
    return event ? event->itemId() : std::nullopt;
}

std::optional<foundation::Date> ApplicationSettingsStore::lastDeltaSyncDateTime() const {
    return date(kLastDeltaSyncDateTimeKey);
}
void ApplicationSettingsStore::setLastDeltaSyncDateTime(std::optional<foundation::Date> value) {
    setUserDefaultsForKey(kLastDeltaSyncDateTimeKey, optionalValue(value));
}

bool ApplicationSettingsStore::automaticallyCheckForContentUpdates() const {
    return flag(kAutomaticallyCheckForContentUpdatesKey, true);
}
void ApplicationSettingsStore::setAutomaticallyCheckForContentUpdates(bool on) {
    setUserDefaultsForKey(kAutomaticallyCheckForContentUpdatesKey, Value(on));
}

Value::Dictionary ApplicationSettingsStore::persistentStoresValidity() const {
    return dictionary(kPersistentStoresValidityKey);
}
void ApplicationSettingsStore::setPersistentStoresValidity(std::optional<Value::Dictionary> validity) {
    setUserDefaultsForKey(kPersistentStoresValidityKey, optionalValue(validity));
}

void ApplicationSettingsStore::keepPersistentStoresValidityBeforeReload() {
    setUserDefaultsForKey(kPersistentStoresValidityBeforeReloadKey, Value(persistentStoresValidity()));
}

bool ApplicationSettingsStore::hasPersistentStoresValidityBeforeReload() const {
    return static_cast<bool>(getUserDefaultsForKey(kPersistentStoresValidityBeforeReloadKey));
}

void ApplicationSettingsStore::restorePersistentStoresValidityBeforeReload() {
    setPersistentStoresValidity(dictionary(kPersistentStoresValidityBeforeReloadKey));
    dropPersistentStoresValidityBeforeReload();
}

void ApplicationSettingsStore::dropPersistentStoresValidityBeforeReload() {
    resetUserDefaultsForkey(kPersistentStoresValidityBeforeReloadKey);
}

bool ApplicationSettingsStore::showSwipeHintLabel() const { return flag(kShowSwipeHintLabelKey, true); }
void ApplicationSettingsStore::setShowSwipeHintLabel(bool on) {
    setUserDefaultsForKey(kShowSwipeHintLabelKey, Value(on));
}

Value::Dictionary ApplicationSettingsStore::deltaLeftOutRows() const { return dictionary(kDeltaLeftOutRowsKey); }
void ApplicationSettingsStore::setDeltaLeftOutRows(std::optional<Value::Dictionary> rows) {
    setUserDefaultsForKey(kDeltaLeftOutRowsKey, optionalValue(rows));
}

Value::Dictionary ApplicationSettingsStore::calendarDatabase() const { return dictionary(kCalendarDatabaseKey); }
void ApplicationSettingsStore::setCalendarDatabase(std::optional<Value::Dictionary> database) {
    setUserDefaultsForKey(kCalendarDatabaseKey, optionalValue(database));
}

ApplicationSettingsStore::Text ApplicationSettingsStore::calendarIdentifier() const {
    return text(kCalendarIdentifierKey);
}
void ApplicationSettingsStore::setCalendarIdentifier(const Text& identifier) {
    setUserDefaultsForKey(kCalendarIdentifierKey, optionalValue(identifier));
}

bool ApplicationSettingsStore::syncWithCalendar() const { return flag(kSyncWithCalendarKey, false); }
void ApplicationSettingsStore::setSyncWithCalendar(bool on) { setUserDefaultsForKey(kSyncWithCalendarKey, Value(on)); }

int32_t ApplicationSettingsStore::calendarAlertTime() const {
    Value value = getUserDefaultsForKey(kCalendarAlertTimeKey);
    return value ? static_cast<int32_t>(value.integerValue()) : 0;
}
void ApplicationSettingsStore::setCalendarAlertTime(int32_t choice) {
    setUserDefaultsForKey(kCalendarAlertTimeKey, Value(choice));
}

ApplicationSettingsStore::Text ApplicationSettingsStore::storedAppVersion() const { return text(kStoredAppVersionKey); }
void ApplicationSettingsStore::setStoredAppVersion(const Text& version) {
    setUserDefaultsForKey(kStoredAppVersionKey, optionalValue(version));
}

std::shared_ptr<QVAUserAccount> ApplicationSettingsStore::baseUserWhenSwitchToDelegate() const {
    return getUserDefaultsForKey(kBaseUserWhenSwitchToDelegateKey).objectAs<QVAUserAccount>();
}
void ApplicationSettingsStore::setBaseUserWhenSwitchToDelegate(const std::shared_ptr<QVAUserAccount>& account) {
    setUserDefaultsForKey(kBaseUserWhenSwitchToDelegateKey, Value(account));
}

ApplicationSettingsStore::Text ApplicationSettingsStore::baseEventIdWhenSwitchToDelegate() const {
    return text(kBaseEventWhenSwitchToDelegateKey);
}
void ApplicationSettingsStore::setEventIdWhenSwitchToDelegate(const Text& eventId) {
    setUserDefaultsForKey(kBaseEventWhenSwitchToDelegateKey, optionalValue(eventId));
}

bool ApplicationSettingsStore::iMapsSettingsShowExtraInfoLayer() const {
    return flag(kIMapsShowExtraInfoLayerKey, true);
}
void ApplicationSettingsStore::setIMapsSettingsShowExtraInfoLayer(bool on) {
    setUserDefaultsForKey(kIMapsShowExtraInfoLayerKey, Value(on));
}

bool ApplicationSettingsStore::imapsFirstShowInfoButtonWhenMultipleLevelNavigation() const {
    return flag(kIMapsFirstShowInfoButtonKey, true);
}
void ApplicationSettingsStore::setImapsFirstShowInfoButtonWhenMultipleLevelNavigation(bool on) {
    setUserDefaultsForKey(kIMapsFirstShowInfoButtonKey, Value(on));
}

bool ApplicationSettingsStore::iMapsSettinsShowOutsideDirectionsAlert() const {
    return flag(kIMapsShowOutsideDirectionsAlertKey, true);
}
void ApplicationSettingsStore::setIMapsSettinsShowOutsideDirectionsAlert(bool on) {
    setUserDefaultsForKey(kIMapsShowOutsideDirectionsAlertKey, Value(on));
}

bool ApplicationSettingsStore::iMapsSettinsShowTutorial() const { return flag(kIMapsShowTutorialKey, true); }
void ApplicationSettingsStore::setIMapsSettinsShowTutorial(bool on) {
    setUserDefaultsForKey(kIMapsShowTutorialKey, Value(on));
}

bool ApplicationSettingsStore::iMapsShowFirstTimeSpotlightInfoBubble() const {
    return flag(kIMapsShowFirstTimeSpotlightInfoBubbleKey, true);
}
void ApplicationSettingsStore::setIMapsShowFirstTimeSpotlightInfoBubble(bool on) {
    setUserDefaultsForKey(kIMapsShowFirstTimeSpotlightInfoBubbleKey, Value(on));
}

bool ApplicationSettingsStore::settingsShowTutorial() const { return flag(kSettingsShowTutorialKey, true); }
void ApplicationSettingsStore::setSettingsShowTutorial(bool on) {
    setUserDefaultsForKey(kSettingsShowTutorialKey, Value(on));
}

std::optional<foundation::Date> ApplicationSettingsStore::lastUpdateTimeInteractiveMaps() const {
    return date(kLastUpdateTimeInteractiveMapsKey);
}
void ApplicationSettingsStore::setLastUpdateTimeInteractiveMaps(std::optional<foundation::Date> value) {
    setUserDefaultsForKey(kLastUpdateTimeInteractiveMapsKey, optionalValue(value));
}

bool ApplicationSettingsStore::isCurrentUserADelegate() const {
    return getUserDefaultsForKey(kBaseUserWhenSwitchToDelegateKey).isObject();
}

std::string ApplicationSettingsStore::getKeyForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                       const std::shared_ptr<QVAEvent>& event) const {
    Value token = account ? optionalValue(account->authenticationCode()) : Value();
    Value eventId = event ? optionalValue(event->itemId()) : Value();
    return foundation::Format("%@_%@", token, eventId);
}

Value ApplicationSettingsStore::getOldStoredAppVersion() const {
    return defaults().objectForKey(kOldStoredAppVersionKey);
}
