// The delta update service against the local meeting service, on the
// virtual clock: the 600-second throttle and the automatic-update switch
// decide whether anything is asked; the new-meeting check asks for the
// current meeting first and offers a newer one, whose "Cancel" runs the
// delta of the current meeting and whose "Load" hands the new meeting to the
// loading screen instead.
#include <gtest/gtest.h>

#include "api/ApplicationService.h"
#include "api/DeltaUpdateService.h"
#include "api/LoadingScreenHook.h"
#include "api/LocalServiceTest.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManager_FullDownload.h"
#include "foundation/Clock.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"

namespace {

constexpr double kDeltaStart = 800000000.0;

std::vector<std::shared_ptr<uikit::UIAlertView>> alerts() {
    return uikit::UIApplication::sharedApplication().visibleAlerts();
}

class DeltaUpdateServiceTest : public apitest::LocalServiceTest {
protected:
    std::shared_ptr<DeltaUpdateService> deltaService = ApplicationService::deltaUpdateService();
    std::shared_ptr<QVAEvent> event;

    void SetUp() override {
        LocalServiceTest::SetUp();
        foundation::Clock::useVirtual(kDeltaStart);
        event = fetchEvent(eventId());
        ASSERT_TRUE(event);
        ASSERT_TRUE(open(token(), eventId()));
        makeCurrent(account(), event);
    }
    void TearDown() override {
        LoadingScreenHook::setLoader(nullptr);
        for (const auto& alert : alerts()) alert->dismissWithClickedButtonIndex(-1, false);
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }

    void syncedSecondsAgo(double seconds) {
        settings.setLastDeltaSyncDateTime(foundation::Date(foundation::Clock::now() - seconds));
    }
    // Runs the check and waits for the delta it starts.
    bool runsDelta(bool force, bool automatic, bool newEvent) {
        foundation::ScopedLogCapture log;
        service->clearRequestLog();
        deltaService->checkForDeltaUpdates(force, automatic, newEvent);
        return loop.runUntil([&] { return apitest::logged(log, "Delta ready!!"); }, apitest::kWait);
    }
    // Runs the check; true when it sent nothing. The decision is made before
    // the check returns, so a request it started would reach the service
    // before the answer to a later one is back.
    bool staysQuiet(bool force, bool automatic, bool newEvent) {
        service->clearRequestLog();
        deltaService->checkForDeltaUpdates(force, automatic, newEvent);
        loop.runDueTasks();
        fetchEvent(eventId());
        const auto log = service->requestLog();
        return log.size() == 1 && log.front().path == apiPath("events/" + eventId());
    }
    bool deltaAsked() const {
        const auto list = apiPath("events/" + eventId() + "/sessions/official?fields=id,revision");
        for (const auto& request : service->requestLog())
            if (request.path == list) return true;
        return false;
    }
    void downloadMeeting() {
        bool done = false;
        QVAApiManagerFullDownload::loadAllDataForAccount(
            account(), event, nullptr, [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                EXPECT_EQ(error, nullptr);
                done = true;
            });
        ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    }
    void serviceNamesCurrent(const std::string& id, const std::string& name) {
        testservice::Reply reply = testservice::Reply::text("{\"id\":\"" + id + "\",\"name\":\"" + name + "\"}");
        reply.contentType = "application/json";
        service->server().on("GET", apiPath("events/current"), reply);
    }
};

TEST_F(DeltaUpdateServiceTest, AutomaticChecksAreThrottledAndCanBeSwitchedOff) {
    syncedSecondsAgo(599);
    EXPECT_TRUE(staysQuiet(false, true, true));
    syncedSecondsAgo(600);
    EXPECT_TRUE(staysQuiet(false, true, true));

    syncedSecondsAgo(601);
    ASSERT_TRUE(runsDelta(false, true, true));
    // The current meeting is asked for first; the delta follows its answer.
    EXPECT_EQ(service->requestLog().front().path, apiPath("events/current"));
    EXPECT_TRUE(deltaAsked());

    // Forced 10 seconds after a sync: it runs all the same.
    syncedSecondsAgo(10);
    ASSERT_TRUE(runsDelta(true, false, false));
    EXPECT_TRUE(deltaAsked());

    settings.setAutomaticallyCheckForContentUpdates(false);
    deltaService->resetDeltaLastSyncDate();
    EXPECT_TRUE(staysQuiet(false, true, true));
    EXPECT_TRUE(runsDelta(true, false, false));

    settings.setCurrentAccount(nullptr);
    EXPECT_TRUE(staysQuiet(true, false, false));
}

// The caller is told what was decided, and why nothing ran when nothing did.
TEST_F(DeltaUpdateServiceTest, TheCheckReturnsItsDecision) {
    using Kind = DeltaDecision::Kind;
    syncedSecondsAgo(30);
    DeltaDecision throttled = deltaService->checkForDeltaUpdates(false, false, false);
    EXPECT_EQ(throttled.kind, Kind::SkipThrottled);
    EXPECT_EQ(throttled.secondsSinceLast, 30.0);

    settings.setAutomaticallyCheckForContentUpdates(false);
    EXPECT_EQ(deltaService->checkForDeltaUpdates(true, true, false).kind, Kind::SkipAutomaticUpdatesOff);
    settings.setAutomaticallyCheckForContentUpdates(true);

    {
        foundation::ScopedLogCapture log;
        EXPECT_EQ(deltaService->checkForDeltaUpdates(true, false, false).kind, Kind::Force);
        ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Delta ready!!"); }, apitest::kWait));
    }
    {
        foundation::ScopedLogCapture log;
        syncedSecondsAgo(601);
        EXPECT_EQ(deltaService->checkForDeltaUpdates(false, false, false).kind, Kind::Run);
        ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Delta ready!!"); }, apitest::kWait));
    }

    settings.setCurrentAccount(nullptr);
    EXPECT_EQ(deltaService->checkForDeltaUpdates(true, false, false).kind, Kind::SkipWithoutAccount);
}

TEST_F(DeltaUpdateServiceTest, ANewerMeetingIsOfferedAndCancelRunsTheCurrentDelta) {
    downloadMeeting();
    serviceNamesCurrent("2001", "Summit 2027");
    service->clearRequestLog();
    deltaService->checkForDeltaUpdates(true, false, true);
    ASSERT_TRUE(loop.runUntil([] { return !alerts().empty(); }, apitest::kWait));

    auto offer = alerts().back();
    EXPECT_EQ(offer->title(), "New event available");
    EXPECT_EQ(offer->message(),
              "The event Summit 2027 is now available.\n\n Note: You can switch to this event later from the "
              "Settings section.");
    ASSERT_EQ(offer->numberOfButtons(), 2);
    EXPECT_EQ(offer->buttonTitleAtIndex(0), "Load");
    EXPECT_EQ(offer->buttonTitleAtIndex(1), "Cancel");
    EXPECT_FALSE(deltaAsked());

    foundation::ScopedLogCapture log;
    offer->dismissWithClickedButtonIndex(1, true);
    ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Delta ready!!"); }, apitest::kWait));
    EXPECT_TRUE(deltaAsked());
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
}

TEST_F(DeltaUpdateServiceTest, LoadHandsTheNewMeetingToTheLoadingScreenAndRunsNoDelta) {
    downloadMeeting();
    serviceNamesCurrent("2001", "Summit 2027");
    std::shared_ptr<QVAUserAccount> handedAccount;
    std::string handedEvent;
    LoadingScreenHook::setLoader([&](const std::shared_ptr<QVAUserAccount>& user, const std::string& id) {
        handedAccount = user;
        handedEvent = id;
    });
    deltaService->checkForDeltaUpdates(true, false, true);
    ASSERT_TRUE(loop.runUntil([] { return !alerts().empty(); }, apitest::kWait));
    service->clearRequestLog();

    alerts().back()->dismissWithClickedButtonIndex(0, true);
    loop.runDueTasks();
    ASSERT_TRUE(handedAccount);
    EXPECT_EQ(handedAccount->authenticationCode(), token());
    EXPECT_EQ(handedEvent, "2001");
    EXPECT_TRUE(store.getCoreDataStackForAuthToken(token(), "2001"));
    fetchEvent(eventId());
    EXPECT_EQ(service->requestLog().size(), 1u);
}

TEST_F(DeltaUpdateServiceTest, AKnownOrTheSameMeetingIsNotOffered) {
    downloadMeeting();
    // The same meeting under a new name: it becomes the current one.
    serviceNamesCurrent(eventId(), "Renamed meeting");
    ASSERT_TRUE(runsDelta(true, false, true));
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(settings.currentEvent()->eventName(), "Renamed meeting");

    // Another meeting whose name the store already knows.
    auto known = service->items(testservice::MeetingKind::Events);
    std::string knownName;
    std::string knownId;
    for (const auto& item : known)
        if (testservice::idText(item["id"]) != eventId()) {
            knownName = item["name"].stringValue();
            knownId = testservice::idText(item["id"]);
        }
    ASSERT_FALSE(knownName.empty());
    serviceNamesCurrent(knownId, knownName);
    ASSERT_TRUE(runsDelta(true, false, true));
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(deltaAsked());

    // A new meeting, but the user may not change meetings.
    auto removed = await([&](auto done) {
        store.deleteItemsFromCoreDataForItemType(EntityClass::named("QVACoreDataPermission"), token(), eventId(),
                                                 coredata::Predicate::withFormat("code = %@", "event:change"), true,
                                                 nullptr, done);
    });
    EXPECT_EQ(removed.error, nullptr);
    serviceNamesCurrent("2001", "Summit 2027");
    ASSERT_TRUE(runsDelta(true, false, true));
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(deltaAsked());
}

TEST_F(DeltaUpdateServiceTest, AnAnswerArrivingAfterLogOutRestoresNoMeetingAndRunsNoDelta) {
    // The service names the same meeting, which would make it current again.
    serviceNamesCurrent(eventId(), "Renamed meeting");
    foundation::ScopedLogCapture log;
    service->clearRequestLog();
    deltaService->checkForDeltaUpdates(true, false, true);
    // Logged out while the current-meeting request is out.
    settings.setCurrentAccount(nullptr);
    settings.setCurrentEvent(nullptr);

    ASSERT_TRUE(loop.runUntil(
        [&] { return apitest::logged(log, QVAApiManagerDelta::kNotConfiguredMessage); }, apitest::kWait));
    EXPECT_EQ(settings.currentEvent(), nullptr);
    EXPECT_FALSE(deltaAsked());
    EXPECT_FALSE(apitest::logged(log, "Delta ready!!"));
}

}  // namespace
