// Shared by the tests of the shared queries and the date helper: a store
// fixture that also makes an account and meeting current in the settings
// store, writes rows of any entity straight into a store, and pins the
// device's time zone so no result depends on the machine running the tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/ApplicationSettingsStore.h"
#include "coredata/EntityDescription.h"
#include "foundation/TimeZone.h"
#include "store/StoreTestSupport.h"

namespace meetingtest {

using Row = foundation::Value::Dictionary;

class MeetingStoreTest : public storetest::StoreTest {
protected:
    ApplicationSettingsStore& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();

    void SetUp() override {
        StoreTest::SetUp();
        settings.clear();
        setDeviceZone("America/New_York");
    }
    void TearDown() override {
        settings.clear();
        foundation::TimeZone::setDefault(savedZone_);
        StoreTest::TearDown();
    }

    void setDeviceZone(const char* name) { foundation::TimeZone::setDefault(*foundation::TimeZone::withName(name)); }

    // Opens the store of the token and meeting and makes both current.
    std::shared_ptr<CoreDataStack> openCurrent(const std::string& token, const std::string& event = "42") {
        auto stack = open(token, event);
        settings.setCurrentAccount(
            QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", token}})));
        settings.setCurrentEvent(QVAEvent::initWithDictionary(foundation::Value::dictionary({{"id", event}})));
        return stack;
    }

    void insert(const std::string& token, const std::string& entity, std::vector<Row> values,
                const std::string& event = "42") {
        auto written = await([&](auto done) {
            store.executeBlockInWorkerBackgroundContext(
                [entity, values](coredata::ManagedObjectContext& context) {
                    for (const auto& fields : values) {
                        auto row = coredata::EntityDescription::insertNewObjectForEntityForName(entity, context);
                        for (const auto& [key, value] : fields) row->setValue(value, key);
                    }
                },
                token, event, nullptr, done);
        });
        EXPECT_EQ(written.error, nullptr);
    }

private:
    foundation::TimeZone savedZone_ = foundation::TimeZone::local();
};

}  // namespace meetingtest
