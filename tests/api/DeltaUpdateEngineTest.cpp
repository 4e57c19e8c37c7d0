// The whole delta update against the local meeting service: a first run that
// fills an empty store, a run after the service changed some sessions, a run
// with nothing changed, a run with a failing kind, a run without account;
// and the maps service's downloads that the run relies on.
#include <gtest/gtest.h>

#include <algorithm>

#include "LocalServiceTest.h"
#include "Utils/Utils.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManagerRefresh.h"
#include "app/MessagesCounterRefreshing.h"
#include "foundation/FileManager.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAImapsLinksModel.h"
#include "model/QVACoreDataSession.h"
#include "uikit/UIApplication.h"

namespace {

using foundation::Date;
using foundation::Value;
using testservice::MeetingKind;

struct EngineOutcome {
    bool called = false;
    foundation::ErrorPtr error;
};

// A main screen with a messages badge.
class BadgeScreen : public uikit::UIViewController, public MessagesCounterRefreshing {
public:
    int recounts = 0;
    void refreshMessagesAndMeetingRequestsCounter() override { ++recounts; }
};

class DeltaUpdateEngineTest : public apitest::LocalServiceTest {
protected:
    void SetUp() override {
        LocalServiceTest::SetUp();
        open(token(), eventId());
        makeCurrent(account(), fetchEvent(eventId()));
    }

    EngineOutcome runDelta(const std::optional<std::string>& event, const std::optional<std::string>& authCode) {
        auto outcome = std::make_shared<EngineOutcome>();
        QVAApiManagerDelta::loadDeltaUpdatesForEventId(event, authCode,
                                                       [outcome](const foundation::ErrorPtr& error, const Value&) {
                                                           outcome->called = true;
                                                           outcome->error = error;
                                                       });
        EXPECT_TRUE(loop.runUntil([&] { return outcome->called; }, apitest::kWait));
        return *outcome;
    }
    EngineOutcome runDelta() { return runDelta(eventId(), token()); }

    // The requests whose path (with query) contains `fragment`.
    std::vector<std::string> requested(const std::string& fragment) const {
        std::vector<std::string> out;
        for (const auto& request : service->requestLog())
            if (request.path.find(fragment) != std::string::npos) out.push_back(request.path);
        return out;
    }
    std::map<std::string, std::string> storedSessions() {
        std::map<std::string, std::string> out;
        for (const auto& row : rows<QVACoreDataSession>(token(), eventId()))
            out[row->itemId().value_or("")] = row->revision().value_or("-");
        return out;
    }
    static Value session(const std::string& id, int revision) {
        return Value::dictionary({{"id", id}, {"revision", revision}, {"title", "Session " + id}});
    }
};

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
    auto window = uikit::UIApplication::sharedApplication().keyWindow();
    window->setRootViewController(screen);
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
    window->setRootViewController(nullptr);

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

TEST_F(DeltaUpdateEngineTest, MapFilesAreDownloadedAndSilentlyRenewedWhenOld) {
    auto& maps = InteractiveMapsServices::instance();
    bool venues = false;
    QVAApiManagerRefresh::refreshVenuesForEventId(eventId(), token(), [&](const auto& error, const auto&) {
        EXPECT_EQ(error, nullptr);
        venues = true;
    });
    ASSERT_TRUE(loop.runUntil([&] { return venues; }, apitest::kWait));
    const auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
    ASSERT_FALSE(links.empty());
    auto mapRequests = [&] { return requested("/files/maps/").size(); };
    auto downloading = [&] { return settings.currentEventIsDownloadingOrParsingIMaps(); };

    // One file fails: the download fails, the maps count as never updated.
    const std::string firstFile = links.front()->hrefString().value_or("").substr(service->baseURL().size());
    service->injectFault("GET", firstFile, {.status = 404, .times = 1});
    std::optional<foundation::ErrorPtr> result;
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
    ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
    EXPECT_NE(*result, nullptr);
    EXPECT_FALSE(downloading());
    EXPECT_EQ(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSince1970(), 100);

    result.reset();
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
    ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
    EXPECT_EQ(*result, nullptr);
    EXPECT_FALSE(downloading());
    EXPECT_LT(std::abs(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSinceNow()), 60);
    for (const auto& link : links) {
        auto path = Utils::cacheImapsUrlStringForFileName(*link->relString(), token(), eventId());
        EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(*path));
    }

    // Recent maps, or maps never updated, are left alone.
    const size_t before = mapRequests();
    foundation::ScopedLogCapture log;
    maps.updateInteractiveMapsFilesOnlyForAuthCode(token(), eventId());
    settings.setLastUpdateTimeInteractiveMaps(Date::fromTimeIntervalSince1970(100));
    maps.updateInteractiveMapsFilesOnlyForAuthCode(token(), eventId());
    EXPECT_FALSE(downloading());
    EXPECT_FALSE(apitest::logged(log, "IMAPS SILENT UPDATE CALLED ON DELTA UPDATES"));

    // Old maps are fetched again by the delta run, once.
    const Date old = Date::now().dateByAddingTimeInterval(-7201);
    settings.setLastUpdateTimeInteractiveMaps(old);
    ASSERT_EQ(runDelta().error, nullptr);
    ASSERT_TRUE(loop.runUntil([&] { return !downloading(); }, apitest::kWait));
    EXPECT_TRUE(apitest::logged(log, "IMAPS SILENT UPDATE CALLED ON DELTA UPDATES"));
    EXPECT_EQ(mapRequests(), before + links.size());
    EXPECT_LT(std::abs(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSinceNow()), 60);
}

}  // namespace
