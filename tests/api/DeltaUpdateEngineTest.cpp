// The whole delta update against the local meeting service: a first run that
// fills an empty store, a run after the service changed some sessions, a run
// with nothing changed, a run with a failing kind, a run without account.
#include <gtest/gtest.h>

#include <algorithm>

#include "DeltaUpdateEngineFixture.h"
#include "Utils/Utils.h"
#include "api/MessagesBadgeHook.h"
#include "api/QVAApiManagerDelta.h"
#include "model/QVACoreDataSession.h"

namespace {

using foundation::Date;
using foundation::Value;
using testservice::MeetingKind;

// A main screen's messages badge, as the shell would install it.
struct BadgeScreen {
    int recounts = 0;
};

using apitest::DeltaUpdateEngineTest;

TEST_F(DeltaUpdateEngineTest, FetchesOnlyWhatChangedAndRecordsTheDeltaTime) {
    service->mutate([](testservice::MeetingData& data) {
        data.items(MeetingKind::Sessions) = {session("s1", 1), session("s2", 1), session("s3", 1)};
    });
    // The first run fills the empty store.
    ASSERT_EQ(runDelta().error, nullptr);
    EXPECT_EQ(storedSessions(), (std::map<std::string, std::string>{{"s1", "1"}, {"s2", "1"}, {"s3", "1"}}));
    EXPECT_GT(count("QVACoreDataParticipant", eventId()), 0u);
    EXPECT_GT(count("QVACoreDataMessage", eventId()), 0u);
    EXPECT_GT(count("QVACoreDataReportsDocument", eventId()), 0u);
    ASSERT_TRUE(settings.lastDeltaSyncDateTime());

    service->setRevision(MeetingKind::Sessions, "s2", 2);
    service->removeItem(MeetingKind::Sessions, "s3");
    service->putItem(MeetingKind::Sessions, session("s4", 1));
    service->clearRequestLog();
    settings.setLastDeltaSyncDateTime(std::nullopt);
    auto screen = std::make_shared<BadgeScreen>();
    MessagesBadgeHook::setFinder([screen]() -> MessagesBadgeHook::Recount { return [screen] { ++screen->recounts; }; });
    {
        foundation::ScopedLogCapture log;
        ASSERT_EQ(runDelta().error, nullptr);
        EXPECT_TRUE(apitest::logged(log, "DELETE ON QVACoreDataSession nr = 1"));
        EXPECT_TRUE(apitest::logged(log, "UPDATE ON QVACoreDataSession nr = 2"));
        EXPECT_TRUE(apitest::logged(log, "UPDATE ON 0 QVACoreDataParticipant"));
        EXPECT_TRUE(apitest::logged(log, "Delta ready!!"));
    }
    const std::string sessions = apiPath("events/" + eventId() + "/sessions/official");
    EXPECT_EQ(requested(sessions + "?"), (std::vector<std::string>{sessions + "?fields=id,revision",
                                                                    sessions + "?ids=s2,s4"}));
    EXPECT_EQ(storedSessions(), (std::map<std::string, std::string>{{"s1", "1"}, {"s2", "2"}, {"s4", "1"}}));
    EXPECT_TRUE(settings.lastDeltaSyncDateTime());
    // The reloaded messages are recounted for the badge.
    EXPECT_EQ(screen->recounts, 1);
    MessagesBadgeHook::setFinder(nullptr);

    // Nothing changed: not one item is fetched; the whole reloads run anyway.
    service->clearRequestLog();
    ASSERT_EQ(runDelta().error, nullptr);
    EXPECT_TRUE(requested("ids=").empty());
    EXPECT_FALSE(requested(apiPath("events/" + eventId() + "/my_profile/permissions")).empty());
}

TEST_F(DeltaUpdateEngineTest, AFailingKindFailsTheRunAndKeepsTheLastDeltaTime) {
    const Date earlier = Date::fromTimeIntervalSince1970(1000);
    settings.setLastDeltaSyncDateTime(earlier);
    service->injectFault("GET", apiPath("events/" + eventId() + "/rooms"), {.status = 500});

    auto failed = runDelta();
    ASSERT_NE(failed.error, nullptr);
    EXPECT_EQ(failed.error->localizedDescription(), "Unable to load delta updates!");
    EXPECT_EQ(settings.lastDeltaSyncDateTime(), earlier);
    // The kinds that succeeded keep their writes.
    EXPECT_GT(count("QVACoreDataSession", eventId()), 0u);
    EXPECT_EQ(count("QVACoreDataRoom", eventId()), 0u);

    // The reports feed cannot be read: the run fails too.
    service->clearFaults();
    service->injectFault("GET", "/feeds/" + eventId() + "/reports.rss", {.status = 404});
    EXPECT_NE(runDelta().error, nullptr);
    EXPECT_EQ(settings.lastDeltaSyncDateTime(), earlier);
}

TEST_F(DeltaUpdateEngineTest, WithoutTokenOrMeetingNothingIsSent) {
    service->clearRequestLog();
    for (auto [event, authCode] : {std::pair<std::optional<std::string>, std::optional<std::string>>{eventId(), {}},
                                   {std::nullopt, token()}}) {
        auto outcome = runDelta(event, authCode);
        ASSERT_NE(outcome.error, nullptr);
        EXPECT_EQ(outcome.error->localizedDescription(),
                  "Unable to load delta updates. Current account or event is not configured.");
    }
    EXPECT_TRUE(service->requestLog().empty());
}

}  // namespace
