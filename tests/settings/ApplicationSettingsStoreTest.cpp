// The settings store: the defaults of a fresh installation, values that
// survive a restart, nil values, clearing foreign keys, and stored data that
// is not a readable archive.
#include <gtest/gtest.h>

#include "settings/ApplicationSettingsStore.h"
#include "foundation/ApplicationHome.h"
#include "foundation/UserDefaults.h"

namespace {

using foundation::Value;

class ApplicationSettingsStoreTest : public ::testing::Test {
protected:
    ApplicationSettingsStore& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    void SetUp() override { settings.clear(); }
    void TearDown() override { settings.clear(); }

    static std::shared_ptr<QVAUserAccount> account(const std::string& token) {
        return QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token}}));
    }
    static std::shared_ptr<QVAEvent> event(const std::string& id) {
        return QVAEvent::initWithDictionary(Value::dictionary({{"id", id}, {"name", "Summit"}}));
    }
};

TEST_F(ApplicationSettingsStoreTest, FreshInstallationGivesTheDefaults) {
    EXPECT_FALSE(settings.currentAccount() || settings.currentEvent() || settings.baseUserWhenSwitchToDelegate());
    EXPECT_FALSE(settings.lastDeltaSyncDateTime() || settings.lastUpdateTimeInteractiveMaps());
    EXPECT_FALSE(settings.calendarIdentifier() || settings.storedAppVersion() ||
                 settings.baseEventIdWhenSwitchToDelegate());
    EXPECT_TRUE(settings.persistentStoresValidity().empty() && settings.calendarDatabase().empty());
    EXPECT_FALSE(settings.syncWithCalendar() || settings.isCurrentUserADelegate());
    EXPECT_EQ(settings.calendarAlertTime(), 0);
    EXPECT_TRUE(settings.getOldStoredAppVersion().isAbsent());
    const bool hintsAndUpdatesOn[] = {settings.automaticallyCheckForContentUpdates(),
                                      settings.showSwipeHintLabel(),
                                      settings.iMapsSettingsShowExtraInfoLayer(),
                                      settings.imapsFirstShowInfoButtonWhenMultipleLevelNavigation(),
                                      settings.iMapsSettinsShowOutsideDirectionsAlert(),
                                      settings.iMapsSettinsShowTutorial(),
                                      settings.iMapsShowFirstTimeSpotlightInfoBubble(),
                                      settings.settingsShowTutorial()};
    for (size_t i = 0; i < std::size(hintsAndUpdatesOn); ++i) EXPECT_TRUE(hintsAndUpdatesOn[i]) << i;
}

TEST_F(ApplicationSettingsStoreTest, ValuesSurviveARestartAndNilReadsBackAsNil) {
    settings.setCurrentAccount(account("tok/en"));
    settings.setCurrentEvent(event("42"));
    settings.setLastDeltaSyncDateTime(foundation::Date(443521800));
    settings.setPersistentStoresValidity(Value::Dictionary{{"tok/en_42", Value(true)}});
    settings.setCalendarDatabase(Value::Dictionary{{"tok/en", Value::dictionary({{"s1", "EK-1"}})}});
    settings.setCalendarAlertTime(5);
    settings.setEventIdWhenSwitchToDelegate(std::string("42"));
    settings.setLastUpdateTimeInteractiveMaps(foundation::Date::fromTimeIntervalSince1970(100));

    // A restart: the defaults are read again from their file.
    const std::string home = foundation::ApplicationHome::root();
    foundation::ApplicationHome::setRoot(home + "/elsewhere");
    foundation::ApplicationHome::setRoot(home);

    auto restored = settings.currentAccount();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->authenticationCode(), "tok/en");
    EXPECT_NE(restored, settings.currentAccount());  // every read unarchives anew
    ASSERT_NE(settings.currentEvent(), nullptr);
    EXPECT_EQ(settings.currentEvent()->eventName(), "Summit");
    EXPECT_EQ(settings.lastDeltaSyncDateTime(), foundation::Date(443521800));
    EXPECT_EQ(settings.persistentStoresValidity().at("tok/en_42"), Value(true));
    EXPECT_EQ(settings.calendarDatabase().at("tok/en")["s1"], Value("EK-1"));
    EXPECT_EQ(settings.calendarAlertTime(), 5);
    EXPECT_EQ(settings.baseEventIdWhenSwitchToDelegate(), "42");
    EXPECT_EQ(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSince1970(), 100);

    // The validity key keeps the token as it is, slashes included.
    EXPECT_EQ(settings.getKeyForAccount(restored, settings.currentEvent()), "tok/en_42");

    settings.setBaseUserWhenSwitchToDelegate(account("base"));
    EXPECT_TRUE(settings.isCurrentUserADelegate());
    settings.setBaseUserWhenSwitchToDelegate(nullptr);
    EXPECT_FALSE(settings.isCurrentUserADelegate());
    settings.resetUserDefaultsForkey(ApplicationSettingsStore::kCurrentAccountKey);
    EXPECT_EQ(settings.currentAccount(), nullptr);

    // A setting set to nothing is removed, not kept as an archive of nothing.
    settings.setCalendarIdentifier(std::string("EK-CAL"));
    settings.setCalendarIdentifier(std::nullopt);
    EXPECT_TRUE(foundation::UserDefaults::standardUserDefaults()
                    .objectForKey(ApplicationSettingsStore::kCalendarIdentifierKey)
                    .isAbsent());
}

TEST_F(ApplicationSettingsStoreTest, ClearRemovesEveryKeyAndUnreadableDataReadsAsDefault) {
    auto& defaults = foundation::UserDefaults::standardUserDefaults();
    defaults.setObject(Value("3.2.1"), ApplicationSettingsStore::kOldStoredAppVersionKey);
    EXPECT_EQ(settings.getOldStoredAppVersion(), Value("3.2.1"));
    settings.setStoredAppVersion(std::string("3.4.0"));
    settings.setCurrentEventIsDownloadingOrParsingIMaps(true);

    settings.clear();
    EXPECT_TRUE(settings.getOldStoredAppVersion().isAbsent());
    EXPECT_FALSE(settings.storedAppVersion());
    EXPECT_TRUE(settings.currentEventIsDownloadingOrParsingIMaps());  // memory only
    settings.setCurrentEventIsDownloadingOrParsingIMaps(false);

    // Data that is not an archive, and values that are not data at all.
    defaults.setObject(Value(foundation::Data::fromString("not an archive")),
                       ApplicationSettingsStore::kAutomaticallyCheckForContentUpdatesKey);
    defaults.setObject(Value("raw"), ApplicationSettingsStore::kCurrentAccountKey);
    EXPECT_TRUE(settings.automaticallyCheckForContentUpdates());
    EXPECT_EQ(settings.currentAccount(), nullptr);
}

}  // namespace
