// The loading screen's bookkeeping after a full download, against the local
// meeting service: success marks the store complete, secondary failures mark
// it incomplete, and both make the account and meeting current and start
// the map download; an important failure removes the entry and the store,
// leaves the current meeting alone and reports the loading error.
#include <gtest/gtest.h>

#include "api/LocalServiceTest.h"
#include "app/EventLoader.h"
#include "foundation/Log.h"

namespace {

class EventLoaderTest : public apitest::LocalServiceTest {
protected:
    foundation::ErrorPtr load(const std::shared_ptr<QVAEvent>& event) {
        bool done = false;
        foundation::ErrorPtr outcome;
        EventLoader::loadAllDataForAccount(account(), event, nullptr, [&](const foundation::ErrorPtr& error) {
            outcome = error;
            done = true;
        });
        EXPECT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
        return outcome;
    }
    foundation::Value validity(const std::shared_ptr<QVAEvent>& event) {
        auto map = settings.persistentStoresValidity();
        auto entry = map.find(settings.getKeyForAccount(account(), event));
        return entry == map.end() ? foundation::Value() : entry->second;
    }
};

TEST_F(EventLoaderTest, ALoadedMeetingBecomesCurrentAndGetsItsMaps) {
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    foundation::ScopedLogCapture log;
    EXPECT_EQ(load(event), nullptr);
    EXPECT_EQ(validity(event), foundation::Value(true));
    ASSERT_TRUE(settings.currentAccount() && settings.currentEvent());
    EXPECT_EQ(settings.currentAccount()->authenticationCode(), token());
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
    ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Interactive maps download ended"); }, apitest::kWait));
    EXPECT_GT(service->requestCount("GET", "/files/maps/" + eventId() + "/venue-410001-level-0.svg"), 0u);
}

TEST_F(EventLoaderTest, SecondaryFailuresLeaveTheStoreIncompleteButCurrent) {
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    service->injectFault("GET", apiPath("events/" + eventId() + "/rooms"), {.status = 500});
    foundation::ScopedLogCapture log;
    EXPECT_EQ(load(event), nullptr);
    EXPECT_EQ(validity(event), foundation::Value(false));
    ASSERT_TRUE(settings.currentEvent());
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
    ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Interactive maps download ended"); }, apitest::kWait));
}

TEST_F(EventLoaderTest, AnImportantFailureRemovesTheEntryAndTheStore) {
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    settings.setPersistentStoresValidity(
        foundation::Value::Dictionary{{settings.getKeyForAccount(account(), event), false}});
    service->injectFault("GET", apiPath("events/" + eventId() + "/participants"), {.status = 500});
    foundation::ScopedLogCapture log;

    auto error = load(event);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(), "An error occurred while loading the event. Please try again.");
    EXPECT_TRUE(apitest::logged(log, "Unable to load all data. One of the important calls failed."));
    EXPECT_TRUE(validity(event).isAbsent());
    EXPECT_FALSE(store.persistentStoreExistsForAuthToken(token(), eventId()));
    EXPECT_FALSE(store.getCoreDataStackForAuthToken(token(), eventId()));
    EXPECT_FALSE(settings.currentAccount());
    EXPECT_FALSE(settings.currentEvent());
}

}  // namespace
