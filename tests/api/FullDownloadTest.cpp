// The full download against the local meeting service: every list page and
// the meeting's own feed are read, progress counts up to 22/22, and each
// entity ends with exactly the service's rows; failures tell important from
// secondary calls; a store marked complete gets a forced delta of the
// meeting being loaded instead, its reports read from its own feed.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>

#include "api/LocalServiceTest.h"
#include "api/QVAApiManager_FullDownload.h"
#include "model/QVAError.h"
#include "store/CoreDataStack.h"

namespace {

using testservice::MeetingKind;

const std::map<MeetingKind, std::string>& entityOfKind() {
    static const std::map<MeetingKind, std::string> entities = {
        {MeetingKind::Events, "QVACoreDataEvent"},
        {MeetingKind::Sessions, "QVACoreDataSession"},
        {MeetingKind::Participants, "QVACoreDataParticipant"},
        {MeetingKind::Organizations, "QVACoreDataOrganization"},
        {MeetingKind::Partners, "QVACoreDataPartner"},
        {MeetingKind::Venues, "QVACoreDataVenue"},
        {MeetingKind::Rooms, "QVACoreDataRoom"},
        {MeetingKind::MeetingDelegates, "QVACoreDataMeetingDelegate"},
        {MeetingKind::LoginDelegators, "QVACoreDataLoginDelegator"},
        {MeetingKind::Permissions, "QVACoreDataPermission"},
        {MeetingKind::Notifications, "QVACoreDataNotification"},
        {MeetingKind::ParticipantNotes, "QVACoreDataParticipantNote"},
        {MeetingKind::SessionNotes, "QVACoreDataSessionNote"},
        {MeetingKind::Documents, "QVACoreDataInformationDocument"},
        {MeetingKind::Following, "QVACoreDataFollowedParticipant"},
        {MeetingKind::AgendaSelections, "QVACoreDataAgendaSelection"},
        {MeetingKind::AgendaResponsibilities, "QVACoreDataAgendaResponsability"},
        {MeetingKind::AgendaInvitations, "QVACoreDataAgendaInvitation"},
        {MeetingKind::PersonalEntries, "QVACoreDataPersonalEntry"},
        {MeetingKind::Messages, "QVACoreDataMessage"},
        {MeetingKind::MessageRecipients, "QVACoreDataMessageRecipient"},
    };
    return entities;
}

struct Progress {
    int32_t finished;
    int32_t total;
    std::optional<std::string> serviceName;
};

struct DownloadOutcome {
    bool called = false;
    foundation::ErrorPtr error;
    foundation::Value importantFailed;
};

class FullDownloadTest : public apitest::LocalServiceTest {
protected:
    std::vector<Progress> progress;

    DownloadOutcome download(const std::shared_ptr<QVAUserAccount>& user, const std::shared_ptr<QVAEvent>& event) {
        auto outcome = std::make_shared<DownloadOutcome>();
        progress.clear();
        QVAApiManagerFullDownload::loadAllDataForAccount(
            user, event,
            [this](int32_t finished, int32_t total, const std::optional<std::string>& name) {
                progress.push_back({finished, total, name});
            },
            [outcome](const foundation::ErrorPtr& error, const foundation::Value& importantFailed) {
                EXPECT_FALSE(outcome->called);
                outcome->called = true;
                outcome->error = error;
                outcome->importantFailed = importantFailed;
            });
        EXPECT_TRUE(loop.runUntil([&] { return outcome->called; }, apitest::kWait));
        return *outcome;
    }

    std::string validityKey(const std::shared_ptr<QVAUserAccount>& user, const std::shared_ptr<QVAEvent>& event) {
        return settings.getKeyForAccount(user, event);
    }
};

TEST_F(FullDownloadTest, ReadsEveryPageAndTheMeetingsFeedAndStoresTheServicesRows) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(event && event->reportsRssFeedUrl());
    ASSERT_TRUE(open(token(), eventId()));
    // Incomplete before: downloaded again. No meeting is current yet (a
    // first login), and the feed is still the loaded meeting's.
    settings.setPersistentStoresValidity(foundation::Value::Dictionary{{validityKey(user, event), false}});
    service->clearRequestLog();

    auto outcome = download(user, event);
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_TRUE(outcome.importantFailed.isAbsent());

    ASSERT_EQ(progress.size(), 22u);
    std::set<std::string> names;
    for (size_t i = 0; i < progress.size(); ++i) {
        EXPECT_EQ(progress[i].finished, static_cast<int32_t>(i + 1));
        EXPECT_EQ(progress[i].total, 22);
        if (progress[i].serviceName) names.insert(*progress[i].serviceName);
    }
    EXPECT_EQ(names.size(), 22u);
    EXPECT_TRUE(names.count("events/" + eventId() + "/sessions/official"));
    EXPECT_TRUE(names.count(*event->reportsRssFeedUrl()));

    const auto snapshot = service->snapshot();
    size_t expectedRequests = 1;  // the feed
    for (const auto& [kind, entity] : entityOfKind()) {
        const size_t items = snapshot.items(kind).size();
        const size_t pages = std::max<size_t>(1, (items + 9) / 10);
        const auto path = apiPath(testservice::listPath(kind, eventId()));
        EXPECT_EQ(service->requestCount("GET", path), pages) << path;
        EXPECT_EQ(count(entity, eventId()), items) << entity;
        expectedRequests += pages;
    }
    EXPECT_EQ(service->requestCount("GET", "/feeds/" + eventId() + "/reports.rss"), 1u);
    EXPECT_EQ(service->requestLog().size(), expectedRequests);
    EXPECT_EQ(count("QVACoreDataReportsDocument", eventId()), 5u);
    EXPECT_GT(count("QVACoreDataSession", eventId()), 10u);  // really paged
}

TEST_F(FullDownloadTest, AFailedImportantCallIsFlaggedAndASecondaryOneIsNot) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));

    service->injectFault("GET", apiPath("events/" + eventId() + "/sessions/official"), {.status = 500});
    auto important = download(user, event);
    ASSERT_NE(important.error, nullptr);
    EXPECT_EQ(important.error->localizedDescription(), QVAApiManagerFullDownload::kFailedMessage);
    EXPECT_TRUE(important.importantFailed.isBool());
    EXPECT_TRUE(important.importantFailed.boolValue());
    ASSERT_EQ(progress.size(), 21u);
    EXPECT_EQ(progress.back().finished, 21);
    // The calls that did not fail are written all the same.
    EXPECT_EQ(count("QVACoreDataRoom", eventId()), service->items(MeetingKind::Rooms).size());
    EXPECT_EQ(count("QVACoreDataSession", eventId()), 0u);

    service->clearFaults();
    service->injectFault("GET", apiPath("events/" + eventId() + "/rooms"), {.status = 500});
    auto secondary = download(user, event);
    ASSERT_NE(secondary.error, nullptr);
    EXPECT_TRUE(secondary.importantFailed.isBool());
    EXPECT_FALSE(secondary.importantFailed.boolValue());
    EXPECT_EQ(count("QVACoreDataSession", eventId()), service->items(MeetingKind::Sessions).size());
}

// A list's pages are written as they come, before the list has ended; a
// list that fails half way keeps the rows it had.
TEST_F(FullDownloadTest, PagesAreWrittenAsTheyComeAndAListThatFailsHalfWayKeepsItsRows) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    ASSERT_EQ(download(user, event).error, nullptr);
    const size_t participants = service->items(MeetingKind::Participants).size();
    ASSERT_GT(participants, 20u);
    ASSERT_EQ(count("QVACoreDataParticipant", eventId()), participants);

    // The second page is held until the service stops.
    service->injectFault("GET", apiPath(testservice::listPath(MeetingKind::Participants, eventId())) + "?page=2",
                         {.stall = true});
    bool ended = false;
    foundation::ErrorPtr error;
    QVAApiManagerFullDownload::performMultipleCallsForAuthToken(
        token(), eventId(), nullptr,
        [&](const foundation::ErrorPtr& failure, const foundation::Value&) {
            ended = true;
            error = failure;
        },
        false, QVAApiManagerFullDownload::requestObjectsForAccount(user, event));
    auto worker = store.getCoreDataStackForAuthToken(token(), eventId())->managedObjectContextWorkerOnBackground();
    // Asked without blocking the main thread, which the worker's saves wait for.
    auto rowsSeenByTheWorker = [&] {
        auto rows = std::make_shared<std::atomic<long>>(-1);
        worker->performBlock([worker, rows] {
            *rows = long(worker->countForFetchRequest(coredata::FetchRequest("QVACoreDataParticipant")));
        });
        EXPECT_TRUE(loop.runUntil([&] { return *rows >= 0; }, apitest::kWait));
        return size_t(rows->load());
    };
    // The old rows and the first page's new ones.
    EXPECT_TRUE(loop.runUntil([&] { return rowsSeenByTheWorker() == participants + 10; }, apitest::kWait));
    EXPECT_FALSE(ended);

    service->stop();
    ASSERT_TRUE(loop.runUntil([&] { return ended; }, apitest::kWait));
    EXPECT_NE(error, nullptr);
    EXPECT_EQ(count("QVACoreDataParticipant", eventId()), participants);
    EXPECT_EQ(rowsSeenByTheWorker(), participants);
}

// Done means stored: no file save still under way at the completion, the
// rows found by another connection; a failed file save fails the download.
TEST_F(FullDownloadTest, IsDoneOnceItsRowsAreInTheFileAndFailsWhenTheFileSaveFails) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    struct FileSaves {
        std::atomic<int> started{0}, ended{0};
        std::atomic<bool> fail{false};
    };
    auto saves = std::make_shared<FileSaves>();
    store.setContextSaveForTesting([saves](coredata::ManagedObjectContext& context) -> foundation::ErrorPtr {
        if (context.parentContext()) return context.save();
        ++saves->started;
        if (saves->fail) return foundation::Error::withDescription("Test", 28, "no space left");
        auto error = context.save();
        ++saves->ended;
        return error;
    });
    int runningAtCompletion = -1;
    auto done = await([&](auto completion) {
        QVAApiManagerFullDownload::loadAllDataForAccount(
            user, event, nullptr, [&, completion](const foundation::ErrorPtr& error, const foundation::Value& flag) {
                runningAtCompletion = saves->started - saves->ended;
                completion(error, flag);
            });
    });
    EXPECT_EQ(done.error, nullptr);
    EXPECT_GE(saves->started, 1);
    EXPECT_EQ(runningAtCompletion, 0);
    auto reader = std::make_shared<CoreDataStack>();
    reader->configureCoreDataStackForAuthToken(token(), eventId(), nullptr);
    auto context = reader->managedObjectContextBackgroundQueue();
    for (auto kind : {MeetingKind::Sessions, MeetingKind::Participants, MeetingKind::MessageRecipients}) {
        coredata::FetchRequest request(entityOfKind().at(kind));
        size_t found = 0;
        context->performBlockAndWait([&] { found = context->countForFetchRequest(request); });
        EXPECT_EQ(found, service->items(kind).size()) << entityOfKind().at(kind);
    }

    saves->fail = true;
    auto failed = download(user, event);
    ASSERT_NE(failed.error, nullptr);
    EXPECT_EQ(failed.error->localizedDescription(), QVAApiManagerFullDownload::kFailedMessage);
}

// Rows the delta could neither refresh nor remove (an id missing, null or an
// object) are not stored, in a paged list and in one whose rows feed child
// calls alike; each such list says so in one line.
TEST_F(FullDownloadTest, RowsWithoutAUsableIdAreLeftOutWithOneLinePerList) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    const size_t rooms = service->items(MeetingKind::Rooms).size();
    const size_t sessions = service->items(MeetingKind::Sessions).size();
    service->mutate([](testservice::MeetingData& data) {
        for (auto kind : {MeetingKind::Rooms, MeetingKind::Sessions}) {
            auto& items = data.items(kind);
            foundation::Value row = items.front();
            row.dictionary()->erase("id");
            items.push_back(row);
            row["id"] = foundation::Value::null();
            items.push_back(row);
            row["id"] = foundation::Value::dictionary({{"value", "3.75"}});
            items.push_back(row);
            row["id"] = foundation::Value(int64_t(900375));
            items.push_back(row);
        }
    });
    foundation::ScopedLogCapture log;
    ASSERT_EQ(download(user, event).error, nullptr);
    EXPECT_EQ(count("QVACoreDataRoom", eventId()), rooms + 1);
    EXPECT_EQ(count("QVACoreDataSession", eventId()), sessions + 1);
    size_t lines = 0;
    for (const auto& line : log.lines())
        if (line.find("3 rows of ") == 0 && line.find(" have no usable id and were not stored") != std::string::npos)
            ++lines;
    EXPECT_EQ(lines, 2u);
}

TEST_F(FullDownloadTest, AMissingAccountOrMeetingFailsAtOnce) {
    service->clearRequestLog();
    bool called = false;
    QVAApiManagerFullDownload::loadAllDataForAccount(
        nullptr, fetchEvent(eventId()), nullptr, [&](const foundation::ErrorPtr& error, const foundation::Value& flag) {
            called = true;
            ASSERT_NE(error, nullptr);
            EXPECT_EQ(error->localizedDescription(), QVAApiManagerFullDownload::kMissingAccountMessage);
            EXPECT_TRUE(flag.isAbsent());
        });
    EXPECT_TRUE(called);
    EXPECT_EQ(service->requestCount("GET", apiPath("events")), 0u);
}

TEST_F(FullDownloadTest, AStoreMarkedCompleteGetsAForcedDeltaOfTheMeetingBeingLoaded) {
    auto user = account();
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(open(token(), eventId()));
    // Another meeting is still current, as when switching back to a meeting
    // loaded before; the last delta was just now. Its feed must not be read
    // into the store being opened.
    std::string otherFeed = *event->reportsRssFeedUrl();
    const std::string ownFeedPath = "/feeds/" + eventId() + "/";
    ASSERT_NE(otherFeed.find(ownFeedPath), std::string::npos);
    otherFeed.replace(otherFeed.find(ownFeedPath), ownFeedPath.size(), "/feeds/999/");
    makeCurrent(user, QVAEvent::initWithDictionary(
                          foundation::Value::dictionary({{"id", "999"}, {"reportsRssFeedUrl", otherFeed}})));
    settings.setLastDeltaSyncDateTime(foundation::Date::now());
    settings.setPersistentStoresValidity(foundation::Value::Dictionary{{validityKey(user, event), true}});
    service->clearRequestLog();
    foundation::ScopedLogCapture log;

    bool called = false;
    QVAApiManagerFullDownload::loadAllDataForAccount(
        user, event, nullptr, [&](const foundation::ErrorPtr& error, const foundation::Value& flag) {
            called = true;
            EXPECT_EQ(error, nullptr);
            EXPECT_TRUE(flag.isAbsent());
        });
    EXPECT_TRUE(called);  // before returning
    EXPECT_TRUE(apitest::logged(log, "Event loaded before!"));
    EXPECT_FALSE(settings.lastDeltaSyncDateTime().has_value());

    ASSERT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Delta ready!!"); }, apitest::kWait));
    const auto sessions = apiPath("events/" + eventId() + "/sessions/official");
    bool sawRevisionList = false;
    for (const auto& request : service->requestLog()) {
        if (request.path == sessions + "?fields=id,revision") sawRevisionList = true;
        EXPECT_EQ(request.path.find("/events/999/"), std::string::npos) << request.path;
    }
    EXPECT_TRUE(sawRevisionList);
    // The reopened meeting's reports come from its own feed, the current
    // meeting's feed is not read for it.
    EXPECT_EQ(service->requestCount("GET", "/feeds/" + eventId() + "/reports.rss"), 1u);
    EXPECT_EQ(service->requestCount("GET", "/feeds/999/reports.rss"), 0u);
    EXPECT_EQ(count("QVACoreDataReportsDocument", eventId()), 5u);
    // The account's messages land in the store being opened, and the run
    // succeeds although the current meeting's store is not open.
    EXPECT_EQ(count("QVACoreDataMessage", eventId()), service->items(MeetingKind::Messages).size());
    EXPECT_TRUE(settings.lastDeltaSyncDateTime().has_value());
}

}  // namespace
