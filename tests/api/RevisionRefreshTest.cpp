// The revision refresh of one kind and the pull-to-refresh groups against a
// scripted loopback server: which ids are fetched in which addresses, what
// the store holds afterwards, the failures that fail a kind, and a refresh
// group whose failing kind neither stops the others nor the calendar mirror.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <set>

#include "ApiTestSupport.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManagerRefresh.h"
#include "api/SyncCalendarService.h"
#include "dispatch/Queue.h"
#include "eventkit/EKEventStore.h"
#include "foundation/Log.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataRoom.h"

namespace {

using foundation::Value;
using testservice::RecordedRequest;
using testservice::Reply;

constexpr const char* kToken = "tok";
constexpr const char* kRooms = "/api/v1/events/42/rooms";

std::string queryOf(const RecordedRequest& request) {
    auto at = request.path.find('?');
    return at == std::string::npos ? std::string() : request.path.substr(at + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

class RevisionRefreshTest : public apitest::ApiTest {
protected:
    void SetUp() override {
        ApiTest::SetUp();
        openCurrent(kToken);
    }

    // A list that answers "?fields=id,revision" with every item's id and
    // revision and "?ids=..." with those items in full.
    void serve(const std::string& path, Value::Array items) {
        server.on("GET", path, [items](const RecordedRequest& request) {
            const std::string query = queryOf(request);
            Value::Array answer;
            if (query == "fields=id,revision") {
                for (const auto& item : items)
                    answer.push_back(Value::dictionary({{"id", item["id"]}, {"revision", item["revision"]}}));
            } else if (query.rfind("ids=", 0) == 0) {
                for (const auto& id : split(query.substr(4), ','))
                    for (const auto& item : items)
                        if (item["id"].stringValue() == id) answer.push_back(item);
            }
            return json(foundation::JSONSerialization::stringWithJSONObject(Value(answer)).value_or(""));
        });
    }
    std::vector<std::string> idsRequests(const std::string& path) const {
        std::vector<std::string> out;
        for (const auto& request : server.requests())
            if (request.path.rfind(path + "?ids=", 0) == 0) out.push_back(queryOf(request).substr(4));
        return out;
    }
    // Stored key → revision ("-" for none).
    std::map<std::string, std::string> storedRooms() {
        std::map<std::string, std::string> out;
        for (const auto& row : rows<QVACoreDataRoom>(kToken))
            out[row->valueForKey("itemId").stringValue()] =
                row->valueForKey("revision").isNothing() ? "-" : row->valueForKey("revision").stringValue();
        return out;
    }
    apitest::Outcome refreshRooms() {
        return call([](auto done) { QVAApiManagerRefresh::refreshRoomsForEventId("42", kToken, done); });
    }
    static Value room(const std::string& id, int revision) {
        return Value::dictionary({{"id", id}, {"revision", revision}, {"name", "Room " + id}});
    }
};

TEST_F(RevisionRefreshTest, UnknownIdsAreFetchedNinetyPerAddressInListOrder) {
    Value::Array participants;
    std::vector<std::string> ids;
    for (int i = 200; i >= 1; --i) {  // not sorted, so list order shows
        ids.push_back("p" + std::to_string(i));
        participants.push_back(Value::dictionary({{"id", ids.back()}, {"revision", 1}, {"fullName", "P"}}));
    }
    serve("/api/v1/events/42/participants", participants);

    auto outcome = call([](auto done) { QVAApiManagerRefresh::refreshParticipantsForEventId("42", kToken, done); });
    ASSERT_TRUE(outcome.called);
    EXPECT_EQ(outcome.error, nullptr);

    auto chunks = idsRequests("/api/v1/events/42/participants");
    ASSERT_EQ(chunks.size(), 3u);
    // The chunks run at once, so their order on the wire is not fixed; put
    // back in list order they give the list, cut after 90 and 180 ids.
    auto position = [&](const std::string& chunk) {
        return std::find(ids.begin(), ids.end(), split(chunk, ',').front()) - ids.begin();
    };
    std::sort(chunks.begin(), chunks.end(),
              [&](const std::string& a, const std::string& b) { return position(a) < position(b); });
    std::vector<std::string> sent;
    std::vector<size_t> sizes;
    for (const auto& chunk : chunks) {
        auto part = split(chunk, ',');
        sizes.push_back(part.size());
        sent.insert(sent.end(), part.begin(), part.end());
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{90, 90, 20}));
    EXPECT_EQ(sent, ids);
    EXPECT_EQ(rows<QVACoreDataParticipant>(kToken).size(), 200u);
}

TEST_F(RevisionRefreshTest, OnlyNewAndChangedItemsAreFetchedAndUnlistedRowsDeleted) {
    insert(kToken, QVACoreDataRoom::kEntityName,
           {{{"itemId", Value("r1")}, {"revision", Value("3")}},
            {{"itemId", Value("r2")}, {"revision", Value("4")}},
            {{"itemId", Value("r3")}, {"revision", Value("4")}},
            {{"itemId", Value("r4")}}});
    serve(kRooms, {room("r1", 4), room("r2", 4), room("r4", 1), room("r5", 1)});

    foundation::ScopedLogCapture log;
    auto outcome = refreshRooms();
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(idsRequests(kRooms), (std::vector<std::string>{"r1,r4,r5"}));
    EXPECT_TRUE(log.contains("DELETE ON QVACoreDataRoom nr = 1"));
    EXPECT_TRUE(log.contains("UPDATE ON QVACoreDataRoom nr = 3"));
    EXPECT_EQ(storedRooms(), (std::map<std::string, std::string>{{"r1", "4"}, {"r2", "4"}, {"r4", "1"}, {"r5", "1"}}));

    // Nothing changed: no fetch at all.
    server.clearRequests();
    log.clear();
    EXPECT_EQ(refreshRooms().error, nullptr);
    EXPECT_TRUE(idsRequests(kRooms).empty());
    EXPECT_TRUE(log.contains("UPDATE ON 0 QVACoreDataRoom"));

    // An empty list deletes every row, even with nothing to fetch.
    serve(kRooms, {});
    EXPECT_EQ(refreshRooms().error, nullptr);
    EXPECT_TRUE(storedRooms().empty());
}

// The stored revisions are read while the listing is on its way: a row the
// store gains after that read (a write of the user's, say) is not taken for
// one the service no longer lists.
TEST_F(RevisionRefreshTest, ARowStoredWhileTheListingIsOnItsWayIsNotDeleted) {
    insert(kToken, QVACoreDataRoom::kEntityName, {{{"itemId", Value("r1")}, {"revision", Value("1")}}});
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto listed = std::make_shared<std::atomic<bool>>(false);
    server.on("GET", kRooms, [released, listed](const RecordedRequest& request) {
        if (queryOf(request) != "fields=id,revision") return json("[]");
        *listed = true;
        released.wait();
        return json(R"([{"id":"r1","revision":1}])");
    });

    auto done = std::make_shared<apitest::Outcome>();
    QVAApiManagerRefresh::refreshRoomsForEventId("42", kToken, [done](const foundation::ErrorPtr& error, const Value&) {
        done->called = true;
        done->error = error;
    });
    // Posted after the refresh started, so it runs after the read.
    auto readDone = std::make_shared<bool>(false);
    dispatch::Queue::main()->async([readDone] { *readDone = true; });
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return *readDone && *listed; }, apitest::kManagerWait));
    insert(kToken, QVACoreDataRoom::kEntityName, {{{"itemId", Value("r9")}, {"revision", Value("1")}}});
    release.set_value();

    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return done->called; }, apitest::kManagerWait));
    EXPECT_EQ(done->error, nullptr);
    EXPECT_TRUE(idsRequests(kRooms).empty());
    EXPECT_EQ(storedRooms(), (std::map<std::string, std::string>{{"r1", "1"}, {"r9", "1"}}));
}

// Revisions and ids are compared as their texts, whatever kind of value
// either side holds them as.
TEST_F(RevisionRefreshTest, RevisionsCompareAsTextsAcrossNumbersAndStrings) {
    insert(kToken, QVACoreDataRoom::kEntityName,
           {{{"itemId", Value("7")}, {"revision", Value("2")}},
            {{"itemId", Value("r2")}, {"revision", Value("5")}},
            {{"itemId", Value("r3")}, {"revision", Value("1.5")}},
            {{"itemId", Value("r4")}, {"revision", Value("6")}},
            {{"itemId", Value("r5")}, {"revision", Value("1")}},
            {{"itemId", Value("gone")}, {"revision", Value("1")}}});
    serve(kRooms, {Value::dictionary({{"id", 7}, {"revision", 2}, {"name", "Seven"}}),   // same as numbers
                   Value::dictionary({{"id", "r2"}, {"revision", "5"}, {"name", "Two"}}),  // same as texts
                   Value::dictionary({{"id", "r3"}, {"revision", 1.5}, {"name", "Three"}}),
                   Value::dictionary({{"id", "r4"}, {"revision", "06"}, {"name", "Four"}}),  // another text
                   Value::dictionary({{"id", "r5"}, {"revision", Value::null()}, {"name", "Five"}}),
                   Value::dictionary({{"id", "r2"}, {"revision", 9}, {"name", "Again"}})});  // listed twice

    foundation::ScopedLogCapture log;
    EXPECT_EQ(refreshRooms().error, nullptr);
    EXPECT_EQ(idsRequests(kRooms), (std::vector<std::string>{"r4,r5"}));
    EXPECT_TRUE(log.contains("DELETE ON QVACoreDataRoom nr = 1"));
    auto stored = storedRooms();
    EXPECT_EQ(stored.count("gone"), 0u);
    EXPECT_EQ(stored.size(), 5u);
}

// A listing of several pages is compared page by page as the pages come:
// an id listed again on a later page counts as first listed, a new id is
// fetched once, and the fetch keeps the listing's order across pages.
TEST_F(RevisionRefreshTest, ALongListingIsComparedAcrossItsPagesInListOrder) {
    insert(kToken, QVACoreDataRoom::kEntityName,
           {{{"itemId", Value("r1")}, {"revision", Value("1")}},
            {{"itemId", Value("r2")}, {"revision", Value("1")}},
            {{"itemId", Value("gone")}, {"revision", Value("1")}}});
    const Value::Array full = {room("r1", 1), room("r2", 2), room("r8", 1), room("r9", 1)};
    const std::string second = "/api/v1/events/42/rooms-page-2";
    server.on("GET", kRooms, [&, full](const RecordedRequest& request) {
        const std::string query = queryOf(request);
        if (query.rfind("ids=", 0) == 0) {
            Value::Array answer;
            for (const auto& id : split(query.substr(4), ','))
                for (const auto& item : full)
                    if (item["id"].stringValue() == id) answer.push_back(item);
            return json(foundation::JSONSerialization::stringWithJSONObject(Value(answer)).value_or(""));
        }
        auto reply = json(R"([{"id":"r9","revision":1},{"id":"r1","revision":1}])");
        reply.headers.push_back({"Link", "<" + server.urlFor(second) + ">; rel=\"next\""});
        return reply;
    });
    // r1 again with another revision: its first listing stands; r9 again.
    server.on("GET", second, [](const RecordedRequest&) {
        return json(R"([{"id":"r1","revision":5},{"id":"r2","revision":2},{"id":"r9","revision":1},)"
                    R"({"id":"r8","revision":1}])");
    });

    foundation::ScopedLogCapture log;
    EXPECT_EQ(refreshRooms().error, nullptr);
    EXPECT_EQ(idsRequests(kRooms), (std::vector<std::string>{"r9,r2,r8"}));
    EXPECT_TRUE(log.contains("DELETE ON QVACoreDataRoom nr = 1"));
    EXPECT_EQ(storedRooms(),
              (std::map<std::string, std::string>{{"r1", "1"}, {"r2", "2"}, {"r8", "1"}, {"r9", "1"}}));
}

TEST_F(RevisionRefreshTest, FailedFetchesAndStoreWritesFailTheKind) {
    insert(kToken, QVACoreDataRoom::kEntityName,
           {{{"itemId", Value("r1")}, {"revision", Value("1")}}, {{"itemId", Value("r2")}, {"revision", Value("1")}}});

    // The list fails: nothing changes.
    server.on("GET", kRooms, json(R"({"error":"down"})", 503));
    auto listFailed = refreshRooms();
    EXPECT_NE(listFailed.error, nullptr);
    EXPECT_EQ(storedRooms().size(), 2u);

    // The fetch fails: the deletions stand, nothing else changes.
    server.on("GET", kRooms, [](const RecordedRequest& request) {
        if (queryOf(request) == "fields=id,revision") return json(R"([{"id":"r1","revision":2}])");
        return json(R"({"error":"down"})", 500);
    });
    auto fetchFailed = refreshRooms();
    ASSERT_NE(fetchFailed.error, nullptr);
    EXPECT_EQ(fetchFailed.error->localizedDescription(), "Failed to load all delta updates for QVARoom");
    EXPECT_EQ(storedRooms(), (std::map<std::string, std::string>{{"r1", "1"}}));

    // The store cannot save: the kind fails, for a replace and for a
    // deletion with nothing to fetch alike.
    store.setContextSaveForTesting([](coredata::ManagedObjectContext&) {
        return foundation::Error::withDescription("test", 1, "disk full");
    });
    serve(kRooms, {room("r1", 3)});
    EXPECT_NE(refreshRooms().error, nullptr);
    serve(kRooms, {});
    EXPECT_NE(refreshRooms().error, nullptr);
}

TEST_F(RevisionRefreshTest, FailingAgendaKindStopsNeitherTheOthersNorTheCalendarMirror) {
    using namespace eventkit;
    auto calendars = ApplicationService::syncCalendarService();
    auto device = calendars->eventStore();
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    auto calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                        EKCalendarType::Exchange, true);
    settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary({{"id", "42"}, {"name", "Summit"}})));
    settings.setSyncWithCalendar(true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    insert(kToken, "QVACoreDataSession",
           {{{"itemId", Value("s1")}, {"startDatetime", Value("2015-01-21T09:30:00+01:00")}}});

    const Value session = Value::dictionary({{"id", "s1"},
                                             {"title", "Opening"},
                                             {"startDatetime", "2015-01-21T09:30:00+01:00"},
                                             {"endDatetime", "2015-01-21T10:45:00+01:00"}});
    server.on("GET", "/api/v1/events/42/my_agenda/invitations", json(R"({"error":"down"})", 500));
    serve("/api/v1/events/42/my_agenda/responsibilities", {});
    serve("/api/v1/events/42/my_agenda/selections",
          {Value::dictionary({{"id", "sel-s1"}, {"revision", 1}, {"session", session}})});
    serve("/api/v1/events/42/my_agenda/personal_entries",
          {Value::dictionary({{"id", "pe-1"},
                              {"revision", 1},
                              {"subject", "Own"},
                              {"startDatetime", "2015-01-21T12:00:00+01:00"},
                              {"endDatetime", "2015-01-21T13:00:00+01:00"}})});

    foundation::ScopedLogCapture log;
    QVAApiManagerRefresh::refreshAgenda();
    auto mirrored = [&] {
        auto next = EKEventStore::create();
        return next->eventsMatchingPredicate(next->predicateForEventsWithStartDate(
            foundation::Date::distantPast(), foundation::Date::distantFuture(), std::vector<EKCalendarPtr>{calendar}));
    };
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return mirrored().size() == 2; }, apitest::kManagerWait));

    EXPECT_TRUE(log.contains("Error while fetching delta for invitations from Agenda PullToRefresh : "));
    EXPECT_TRUE(log.contains("Refreshed selections from Agenda PullToRefresh"));
    EXPECT_EQ(rows<QVACoreDataAgendaSelection>(kToken).size(), 1u);
    EXPECT_EQ(rows<QVACoreDataPersonalEntry>(kToken).size(), 1u);
    std::set<std::string> titles;
    for (const auto& event : mirrored()) titles.insert(event->title().value_or(""));
    EXPECT_EQ(titles, (std::set<std::string>{"Opening", "Own"}));

    calendars->unsyncWithDeviceCalendarForAuthToken(std::string(kToken), std::string("42"), nullptr);
    device->removeCalendar(calendar);
}

}  // namespace
