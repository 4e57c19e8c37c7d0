// The maps' readiness for the current meeting: the runs that load the plans
// (a parse of the files on disk, or a download then a parse), the one
// notification each run of the current meeting ends with, and runs overtaken
// by a change of meeting while their files are still being served.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <memory>
#include <string>

#include "api/LocalServiceTest.h"
#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "foundation/NotificationCenter.h"
#include "maps/InteractiveMapsNotifications.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAImapsLinksModel.h"

namespace {

using InteractiveMapsNotifications::kInteractiveMapsFailedNotification;
using InteractiveMapsNotifications::kInteractiveMapsLoadedNotification;

class InteractiveMapsReadinessTest : public apitest::LocalServiceTest {
protected:
    InteractiveMapsServices& maps = InteractiveMapsServices::instance();
    std::map<std::string, int> posted;

    void SetUp() override {
        LocalServiceTest::SetUp();
        // Map files of earlier tests would be parsed instead of downloaded.
        std::filesystem::remove_all(Utils::cacheImapsDirectory());
        clearMemory();
        for (const char* name : {kInteractiveMapsLoadedNotification, kInteractiveMapsFailedNotification}) {
            foundation::NotificationCenter::defaultCenter().addObserver(
                this, [this](const foundation::Notification& note) { ++posted[note.name]; }, name);
        }
        open(token(), eventId());
        storeVenues(eventId(), token());
        makeCurrent(account(), fetchEvent(eventId()));
    }
    void TearDown() override {
        foundation::NotificationCenter::defaultCenter().removeObserver(this);
        clearMemory();
        LocalServiceTest::TearDown();
    }

    void storeVenues(const std::string& event, const std::string& authCode) {
        bool done = false;
        QVAApiManagerRefresh::refreshVenuesForEventId(event, authCode, [&](const auto& error, const auto&) {
            EXPECT_EQ(error, nullptr);
            done = true;
        });
        ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
        ASSERT_TRUE(maps.hasInteractiveMapsForAuthCode(authCode, event));
    }
    void clearMemory() {
        bool done = false;
        maps.clearInMemoryResources([&] { done = true; });
        ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
        posted.clear();
    }
    // Downloads and parses the current meeting's maps; then only the files
    // are left.
    void downloadFilesThenClearMemory() {
        std::optional<foundation::ErrorPtr> result;
        maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
        ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
        ASSERT_EQ(*result, nullptr);
        clearMemory();
    }
    bool runEnded() {
        return loop.runUntil([&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); }, apitest::kWait);
    }
    std::string firstMapFile() {
        auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
        return *Utils::cacheImapsUrlStringForFileName(*links.front()->relString(), token(), eventId());
    }
    size_t mapFileRequests() {
        size_t count = 0;
        for (const auto& request : service->requestLog())
            if (request.path.find("/files/maps/") != std::string::npos) ++count;
        return count;
    }
};

TEST_F(InteractiveMapsReadinessTest, FilesOnDiskAreParsedOnceAndAnnouncedOnce) {
    downloadFilesThenClearMemory();
    const size_t downloads = mapFileRequests();

    EXPECT_FALSE(maps.canAccessInteractiveMaps());
    EXPECT_TRUE(settings.currentEventIsDownloadingOrParsingIMaps());
    EXPECT_FALSE(maps.canAccessInteractiveMaps());  // the run in progress is not doubled
    ASSERT_TRUE(runEnded());

    EXPECT_TRUE(maps.canAccessInteractiveMaps());
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsLoadedNotification, 1}}));
    EXPECT_EQ(mapFileRequests(), downloads);  // parsed from disk, nothing fetched
    EXPECT_FALSE(maps.allBeaconsOnMap().empty());
    EXPECT_TRUE(maps.isIndoorPositioningEnabledForAuthCode(token(), eventId()));
}

// A plan kept on disk that does not load (a sign-in page an earlier
// version kept as the plan) is fetched again, as a missing one would be.
TEST_F(InteractiveMapsReadinessTest, AKeptFloorFileThatDoesNotLoadIsFetchedAgain) {
    downloadFilesThenClearMemory();
    std::ofstream(firstMapFile(), std::ios::trunc) << "<html><body>Sign in to the Wi-Fi</body></html>";
    const size_t downloads = mapFileRequests();

    EXPECT_FALSE(maps.canAccessInteractiveMaps());
    ASSERT_TRUE(runEnded());
    EXPECT_GT(mapFileRequests(), downloads);
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsLoadedNotification, 1}}));
}

// While the service keeps answering a sign-in page in the plans' place,
// the kept plan that does not load stays, and the checks the screens make
// on every bar rebuild fetch the plans again once, not each time.
TEST_F(InteractiveMapsReadinessTest, AKeptFloorFileTheServiceStillRefusesIsFetchedAgainOnce) {
    downloadFilesThenClearMemory();
    const std::string page = "<html><body>Sign in to the Wi-Fi</body></html>";
    std::ofstream(firstMapFile(), std::ios::trunc) << page;
    const auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
    for (const auto& link : links)
        service->injectFault("GET", link->hrefString()->substr(service->baseURL().size()),
                             {.status = 200, .body = page, .contentType = "text/html"});
    const size_t downloads = mapFileRequests();

    for (int check = 0; check < 3; ++check) {
        EXPECT_FALSE(maps.canAccessInteractiveMaps());
        ASSERT_TRUE(runEnded());
    }
    EXPECT_EQ(mapFileRequests() - downloads, links.size());
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsFailedNotification, 3}}));

    // A clear of the maps' memory (a change of meeting, a cache clear) lets
    // the next check fetch them again.
    clearMemory();
    EXPECT_FALSE(maps.canAccessInteractiveMaps());
    ASSERT_TRUE(runEnded());
    EXPECT_EQ(mapFileRequests() - downloads, 2 * links.size());
}

// A kept plan that does not load (a sign-in page, a plan cut short) is
// fetched again; a refetch that gets no answer (the service down for a
// moment) does not use up that refetch: the next check fetches again, and
// the maps load.
TEST_F(InteractiveMapsReadinessTest, ARefetchThatGotNoAnswerLeavesTheRefetchForTheNextCheck) {
    downloadFilesThenClearMemory();
    const std::string whole = [&] {
        std::ifstream file(firstMapFile());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }();
    const auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
    const std::string firstPath = links.front()->hrefString()->substr(service->baseURL().size());
    for (const std::string& kept : {std::string("<html><body>Sign in to the Wi-Fi</body></html>"),
                                    whole.substr(0, whole.size() / 2)}) {
        clearMemory();
        std::ofstream(firstMapFile(), std::ios::trunc) << kept;
        service->injectFault("GET", firstPath, {.status = 503, .times = 1});
        const size_t downloads = mapFileRequests();

        EXPECT_FALSE(maps.canAccessInteractiveMaps());
        ASSERT_TRUE(runEnded());
        EXPECT_EQ(mapFileRequests() - downloads, links.size()) << kept.substr(0, 20);
        EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());
        EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsFailedNotification, 1}}));

        EXPECT_FALSE(maps.canAccessInteractiveMaps());
        ASSERT_TRUE(runEnded());
        EXPECT_EQ(mapFileRequests() - downloads, 2 * links.size()) << kept.substr(0, 20);
        EXPECT_TRUE(maps.canAccessInteractiveMaps()) << kept.substr(0, 20);
        EXPECT_EQ(posted[kInteractiveMapsLoadedNotification], 1);
    }
}

TEST_F(InteractiveMapsReadinessTest, MissingFilesAreDownloadedAndAFailedDownloadIsAnnounced) {
    auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
    service->injectFault("GET", links.front()->hrefString()->substr(service->baseURL().size()),
                         {.status = 404, .times = 1});

    EXPECT_FALSE(maps.canAccessInteractiveMaps());
    ASSERT_TRUE(runEnded());
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsFailedNotification, 1}}));

    // The next call downloads again, and this time the maps load.
    EXPECT_FALSE(maps.canAccessInteractiveMaps());
    ASSERT_TRUE(runEnded());
    EXPECT_TRUE(maps.canAccessInteractiveMaps());
    EXPECT_EQ(posted[kInteractiveMapsLoadedNotification], 1);
}

TEST_F(InteractiveMapsReadinessTest, TheLoadingBookkeepingsDownloadEndsLoadedAndAnnounced) {
    std::optional<foundation::ErrorPtr> result;
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
    ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
    EXPECT_EQ(*result, nullptr);
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_FALSE(settings.currentEventIsDownloadingOrParsingIMaps());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsLoadedNotification, 1}}));
}

TEST_F(InteractiveMapsReadinessTest, RoomsNearABeaconComeFromTheLoadedPlansAndTheClearForgetsThePosition) {
    ASSERT_FALSE(maps.canAccessInteractiveMaps());
    ASSERT_TRUE(runEnded());
    ASSERT_TRUE(maps.canAccessInteractiveMaps());

    // The plans pair beacon "B<room>" with the point of interest "R<room>",
    // whose room is "<room>".
    std::string room;
    for (const auto& [id, beacon] : maps.allBeaconsOnMap()) {
        room = id.substr(1);
        break;
    }
    ASSERT_FALSE(room.empty());
    EXPECT_TRUE(maps.isSessionWithLocationId(room, "B" + room));
    EXPECT_TRUE(maps.isSessionWithLocationId("R" + room, "B" + room));
    EXPECT_FALSE(maps.isSessionWithLocationId(room, std::string("B-none")));
    EXPECT_FALSE(maps.isSessionWithLocationId(std::nullopt, "B" + room));
    std::string otherRoom;
    for (const auto& [id, beacon] : maps.allBeaconsOnMap())
        if (id != "B" + room) otherRoom = id.substr(1);
    if (!otherRoom.empty()) {
        EXPECT_FALSE(maps.isSessionWithLocationId(otherRoom, "B" + room));
    }

    maps.setCurrentBeaconIdentifierGlobal("B" + room);
    maps.dictionaryToKeepReferceOfMonitoredRegions()["kestrow center 1"] = 1;
    maps.clearInMemoryResourcesOnMeetingChange();
    EXPECT_EQ(maps.currentBeaconIdentifierGlobal(), "");
    EXPECT_TRUE(maps.dictionaryToKeepReferceOfMonitoredRegions().empty());
    EXPECT_FALSE(maps.isSessionWithLocationId(room, "B" + room));
    EXPECT_FALSE(maps.isIndoorPositioningEnabledForAuthCode(token(), eventId()));
}

TEST_F(InteractiveMapsReadinessTest, AMeetingSwitchDuringTheOldMeetingsDownloadLoadsOnlyTheNewMeeting) {
    // The second meeting, with its own maps, on a service of its own.
    testservice::MeetingService second(testservice::generateMeeting({.seed = 2, .sessions = 8, .participants = 10, .days = 1}));
    ASSERT_TRUE(second.start());
    const std::string secondToken = second.demoToken(), secondEvent = second.eventId();
    ASSERT_NE(secondEvent, eventId());
    QVAApiManager::setServiceRoot(second.rootURL());
    open(secondToken, secondEvent);
    storeVenues(secondEvent, secondToken);
    auto secondMeeting = [&] {
        std::shared_ptr<QVAEvent> event;
        bool done = false;
        QVAApiManager::sharedApiManager().getEventWithId(secondEvent, secondToken, [&](const auto& error, const auto& value) {
            EXPECT_EQ(error, nullptr);
            event = value.template objectAs<QVAEvent>();
            done = true;
        });
        EXPECT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
        return event;
    }();
    ASSERT_TRUE(secondMeeting);

    // The first meeting's map files stall in flight.
    service->setStallMapFiles(true);
    std::optional<foundation::ErrorPtr> firstResult;
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { firstResult = error; });
    ASSERT_TRUE(loop.runUntil([&] { return mapFileRequests() > 0; }, apitest::kWait));
    EXPECT_TRUE(settings.currentEventIsDownloadingOrParsingIMaps());

    // The switch, then the loading bookkeeping's download for the new meeting.
    maps.clearInMemoryResourcesOnMeetingChange();
    QVAApiManager::sharedApiManager().cancelAllHTTPOperationTasks();
    makeCurrent(QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", secondToken}})),
                secondMeeting);
    std::optional<foundation::ErrorPtr> secondResult;
    maps.downloadAndParseInteractiveMapsForAuthCode(secondToken, secondEvent,
                                                    [&](const auto& error) { secondResult = error; });
    ASSERT_TRUE(loop.runUntil([&] { return secondResult.has_value(); }, apitest::kWait));
    EXPECT_EQ(*secondResult, nullptr);
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsLoadedNotification, 1}}));

    // The old run ends now: it keeps, raises and posts nothing.
    service->resumeStalledMapFiles();
    ASSERT_TRUE(loop.runUntil([&] { return firstResult.has_value(); }, apitest::kWait));
    EXPECT_NE(*firstResult, nullptr);
    EXPECT_EQ(posted, (std::map<std::string, int>{{kInteractiveMapsLoadedNotification, 1}}));
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_FALSE(settings.currentEventIsDownloadingOrParsingIMaps());
    // The beacons in memory are those of the second meeting's primary venue.
    std::set<std::string> expected, inMemory;
    for (const auto& room : second.items(testservice::MeetingKind::Rooms))
        if (room["venueId"].stringValue() == "410001") expected.insert("B" + room["id"].stringValue());
    InteractiveMapsServices::parseQueue()->sync([&] {
        for (const auto& entry : maps.allBeaconsOnMap()) inMemory.insert(entry.first);
    });
    EXPECT_FALSE(inMemory.empty());
    EXPECT_EQ(inMemory, expected);
    EXPECT_TRUE(maps.isIndoorPositioningEnabledForAuthCode(secondToken, secondEvent));
    second.stop();
}

}  // namespace
