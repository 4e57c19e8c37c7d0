// Everything of the user and the application that must survive a restart: the
// signed-in account, the current meeting, the last delta update, the validity
// of each local store, the device-calendar settings, the one-time hints and
// the version that last ran. Each value lives in the standard user defaults
// under its fixed key, as a keyed archive of its own; nothing is cached here,
// so every read unarchives anew (a new account object each time) and every
// write reaches the disk at once. A value that cannot be read back counts as
// absent and its getter gives the default. Two flags about the current
// meeting's interactive maps live in memory only.
//
// No lock of its own: the user defaults serialise reads and writes.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Date.h"
#include "foundation/Value.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

class ApplicationSettingsStore {
public:
    using Text = std::optional<std::string>;

    // The user-defaults keys; they are a stored format.
    static constexpr const char* kCurrentAccountKey = "CurrentAccount";
    static constexpr const char* kCurrentEventKey = "CurrentEvent";
    static constexpr const char* kLastDeltaSyncDateTimeKey = "LastDeltaSyncDateTime";
    static constexpr const char* kAutomaticallyCheckForContentUpdatesKey = "AutomaticallyCheckForContentUpdates";
    static constexpr const char* kPersistentStoresValidityKey = "PersistentStoresValidityKey";
    // The validity map as it stood when a cache reload cleared it, kept
    // until the reload ends, so that a reload that never ends (the process
    // killed during its download) can be undone as a failed one is.
    static constexpr const char* kPersistentStoresValidityBeforeReloadKey = "PersistentStoresValidityBeforeReloadKey";
    static constexpr const char* kShowSwipeHintLabelKey = "ShowSwipeHintLabel";
    static constexpr const char* kCalendarDatabaseKey = "CalendarDatabaseKey";
    static constexpr const char* kDeltaLeftOutRowsKey = "DeltaLeftOutRows";
    static constexpr const char* kCalendarIdentifierKey = "CalendarIdentifierKey";
    static constexpr const char* kSyncWithCalendarKey = "SyncWithCalendarKey";
    static constexpr const char* kCalendarAlertTimeKey = "CalendarAlertTimeKey";
    static constexpr const char* kStoredAppVersionKey = "StoredAppVersion";
    static constexpr const char* kBaseUserWhenSwitchToDelegateKey = "baseUserWhenSwitchToDelegate";
    static constexpr const char* kBaseEventWhenSwitchToDelegateKey = "baseEventWhenSwitchToDelegate";
    static constexpr const char* kIMapsShowExtraInfoLayerKey =
        "Interactive maps show settingx info layer, default is true";
    static constexpr const char* kIMapsFirstShowInfoButtonKey =
        "show info button when multiple level navigation is done first time";
    static constexpr const char* kIMapsShowOutsideDirectionsAlertKey = "show outside directions first time alert view";
    static constexpr const char* kIMapsShowTutorialKey = "first show tutorial for imaps";
    static constexpr const char* kIMapsShowFirstTimeSpotlightInfoBubbleKey = "first show spotlight info bubble";
    static constexpr const char* kSettingsShowTutorialKey = "settings first show tutorial";
    static constexpr const char* kLastUpdateTimeInteractiveMapsKey = "interactive maps last update time";
    // Written, unarchived, by builds before the archived "StoredAppVersion"; only read.
    static constexpr const char* kOldStoredAppVersionKey = "storedAppVersion";

    static ApplicationSettingsStore& sharedApplicationSettingsStore();
    ApplicationSettingsStore(const ApplicationSettingsStore&) = delete;
    ApplicationSettingsStore& operator=(const ApplicationSettingsStore&) = delete;

    // The unarchived value; absent when the key holds nothing, or something
    // that is not a readable archive.
    foundation::Value getUserDefaultsForKey(const std::string& key) const;
    // Archives the value; a value of nothing (absent or null) removes the
    // key, so the setting reads back as absent and is listed no more.
    void setUserDefaultsForKey(const std::string& key, const foundation::Value& object);
    void resetUserDefaultsForkey(const std::string& key);
    // Removes every key of the application's defaults, ours or not. The
    // in-memory flags keep their values.
    void clear();

    std::shared_ptr<QVAUserAccount> currentAccount() const;
    void setCurrentAccount(const std::shared_ptr<QVAUserAccount>& account);
    std::shared_ptr<QVAEvent> currentEvent() const;
    void setCurrentEvent(const std::shared_ptr<QVAEvent>& event);
    // The current account's access token and the current meeting's id, the
    // pair that names the current store; each none without its object.
    Text currentAuthToken() const;
    Text currentEventId() const;
    std::optional<foundation::Date> lastDeltaSyncDateTime() const;
    void setLastDeltaSyncDateTime(std::optional<foundation::Date> date);
    bool automaticallyCheckForContentUpdates() const;
    void setAutomaticallyCheckForContentUpdates(bool on);
    // Validity key → YES/NO; empty when unset or set to nothing.
    foundation::Value::Dictionary persistentStoresValidity() const;
    void setPersistentStoresValidity(std::optional<foundation::Value::Dictionary> validity);
    // A cache reload's bookkeeping of the map: kept before it is cleared,
    // put back when the reloaded store's copy is put back, dropped when the
    // reload is done with.
    void keepPersistentStoresValidityBeforeReload();
    // Whether a reload kept the map and has not ended.
    bool hasPersistentStoresValidityBeforeReload() const;
    void restorePersistentStoresValidityBeforeReload();
    void dropPersistentStoresValidityBeforeReload();
    bool showSwipeHintLabel() const;
    void setShowSwipeHintLabel(bool on);
    // Store key → (entity name → (id → listed revision)): the rows the delta
    // left out as unusable (DeltaLeftOutRows); empty when unset.
    foundation::Value::Dictionary deltaLeftOutRows() const;
    void setDeltaLeftOutRows(std::optional<foundation::Value::Dictionary> rows);
    // Access token → (agenda item id → device event identifier); empty when
    // unset or set to nothing.
    foundation::Value::Dictionary calendarDatabase() const;
    void setCalendarDatabase(std::optional<foundation::Value::Dictionary> database);
    Text calendarIdentifier() const;
    void setCalendarIdentifier(const Text& identifier);
    bool syncWithCalendar() const;
    void setSyncWithCalendar(bool on);
    // The alarm choice, 0...6.
    int32_t calendarAlertTime() const;
    void setCalendarAlertTime(int32_t choice);
    Text storedAppVersion() const;
    void setStoredAppVersion(const Text& version);
    std::shared_ptr<QVAUserAccount> baseUserWhenSwitchToDelegate() const;
    void setBaseUserWhenSwitchToDelegate(const std::shared_ptr<QVAUserAccount>& account);
    Text baseEventIdWhenSwitchToDelegate() const;
    void setEventIdWhenSwitchToDelegate(const Text& eventId);
    bool iMapsSettingsShowExtraInfoLayer() const;
    void setIMapsSettingsShowExtraInfoLayer(bool on);
    bool imapsFirstShowInfoButtonWhenMultipleLevelNavigation() const;
    void setImapsFirstShowInfoButtonWhenMultipleLevelNavigation(bool on);
    bool iMapsSettinsShowOutsideDirectionsAlert() const;
    void setIMapsSettinsShowOutsideDirectionsAlert(bool on);
    bool iMapsSettinsShowTutorial() const;
    void setIMapsSettinsShowTutorial(bool on);
    bool iMapsShowFirstTimeSpotlightInfoBubble() const;
    void setIMapsShowFirstTimeSpotlightInfoBubble(bool on);
    bool settingsShowTutorial() const;
    void setSettingsShowTutorial(bool on);
    std::optional<foundation::Date> lastUpdateTimeInteractiveMaps() const;
    void setLastUpdateTimeInteractiveMaps(std::optional<foundation::Date> date);

    // YES while the user acts for a login delegator (a base user is stored).
    bool isCurrentUserADelegate() const;
    // "<access token>_<meeting id>", the token unaltered (slashes kept), a
    // missing part reading "(null)": the key of the store-validity map.
    std::string getKeyForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                 const std::shared_ptr<QVAEvent>& event) const;
    // The raw "storedAppVersion" value, not unarchived.
    foundation::Value getOldStoredAppVersion() const;

    // Set by the maps only; not persisted.
    bool currentEventIsDownloadingOrParsingIMaps() const { return downloadingOrParsingIMaps_; }
    void setCurrentEventIsDownloadingOrParsingIMaps(bool on) { downloadingOrParsingIMaps_ = on; }
    bool currentEventHasIMapsLoadedInMemory() const { return iMapsLoadedInMemory_; }
    void setCurrentEventHasIMapsLoadedInMemory(bool on) { iMapsLoadedInMemory_ = on; }

private:
    ApplicationSettingsStore();

    bool flag(const char* key, bool defaultValue) const;
    Text text(const char* key) const;
    std::optional<foundation::Date> date(const char* key) const;
    foundation::Value::Dictionary dictionary(const char* key) const;

    std::atomic<bool> downloadingOrParsingIMaps_{false};
    std::atomic<bool> iMapsLoadedInMemory_{false};
};
