// Rows whose id cannot be used read the same through the full download and
// the delta: the same answers give the same stored rows whichever way they
// came, a fetched row that cannot be read removes nothing, and no request
// goes out with "(null)" where an id belongs. An id that can be used names
// itself exactly in every address, whatever characters it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>

#include "api/LocalServiceTest.h"
#include "api/MessagesManager.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManagerRefresh.h"
#include "api/QVAApiManager_FullDownload.h"
#include "coredata/FetchRequest.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/JSONSerialization.h"
#include "foundation/URL.h"
#include "model/ModelReading.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVAVenue.h"
#include "store/FetchRequestUtils.h"

namespace {

using foundation::Value;
using testservice::MeetingKind;
using Done = std::function<void(const foundation::ErrorPtr&, const Value&)>;

class UnusableIdTest : public apitest::LocalServiceTest {
protected:
    // Each id-carrying entity's rows as "key/itemId/revision" texts.
    std::map<std::string, std::multiset<std::string>> storedRows(const std::string& authToken) {
        std::map<std::string, std::multiset<std::string>> out;
        auto context = store.getCoreDataStackForAuthToken(authToken, eventId())->managedObjectContextMainQueue();
        for (std::string entity : {"Session", "Participant", "Organization", "Partner", "Venue", "Room",
                                   "MeetingDelegate", "LoginDelegator", "Notification", "ParticipantNote",
                                   "SessionNote", "FollowedParticipant", "MessageRecipient", "AgendaSelection",
                                   "AgendaResponsability", "AgendaInvitation", "PersonalEntry"}) {
            const char* key = entity.find("Agenda") == 0 || entity == "PersonalEntry" ? "agendaItemId" : "itemId";
            auto request = std::make_shared<coredata::FetchRequest>("QVACoreData" + entity);
            request->setPropertiesToFetch({key, "itemId", "revision"});
            request->setResultType(coredata::FetchRequestResultType::Dictionary);
            for (const auto& row : store.executeFetchRequestAndWait(request, context))
                out[entity].insert(row[key].description() + "/" + row["itemId"].description() + "/" +
                                   row["revision"].description());
        }
        return out;
    }
    bool load(const std::string& authToken) {
        auto user = QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", authToken}}));
        open(authToken, eventId());
        return run([&](Done done) { QVAApiManagerFullDownload::loadAllDataForAccount(user, event, nullptr, done); });
    }
    bool delta() {
        return run([&](Done done) { QVAApiManagerDelta::loadDeltaUpdatesForEventId(eventId(), token(), done); });
    }
    void SetUp() override {
        LocalServiceTest::SetUp();
        event = fetchEvent(eventId());
        makeCurrent(account(), event);
    }
    std::shared_ptr<QVAEvent> event;
};

TEST_F(UnusableIdTest, TheDownloadAndTheDeltaStoreTheSameRowsAndKeepTheReadableAgenda) {
    ASSERT_TRUE(load(token()));
    const auto before = storedRows(token());
    // The first rows of every list get an unusable id each; agenda entries
    // keep their session.
    const std::vector<Value> unusable = {Value::null(), Value::dictionary({{"v", "7"}}), Value(), Value(3.75),
                                         Value(true), Value(""), Value(Value::Array{Value("7")})};
    service->mutate([&](testservice::MeetingData& data) {
        for (auto kind : testservice::allMeetingKinds()) {
            if (kind == MeetingKind::Events || kind == MeetingKind::Messages) continue;
            auto& items = data.items(kind);
            for (size_t i = 0; i < std::min(items.size(), unusable.size()); ++i) {
                if (unusable[i].isAbsent())
                    items[i].dictionary()->erase("id");
                else
                    items[i]["id"] = unusable[i];
            }
        }
    });
    size_t sessionLines = 0;
    {
        foundation::ScopedLogCapture log;
        ASSERT_TRUE(delta());
        const std::string line = "7 rows of events/" + eventId() + "/sessions/official have no usable id";
        for (const auto& logged : log.lines()) sessionLines += logged.find(line) == 0;
    }
    EXPECT_EQ(sessionLines, 1u);
    const auto updated = storedRows(token());
    service->addToken("fresh");
    ASSERT_TRUE(load("fresh"));
    for (const auto& [entity, rows] : storedRows("fresh")) {
        EXPECT_EQ(updated.at(entity), rows) << entity;
        for (const auto& row : rows) EXPECT_NE(row.substr(0, 7), "(null)/") << entity;
    }
    // The five selections whose ids stayed readable are all there.
    EXPECT_EQ(updated.at("AgendaSelection").size(), 5u);
    for (const auto& row : updated.at("AgendaSelection")) EXPECT_EQ(before.at("AgendaSelection").count(row), 1u);
}

TEST_F(UnusableIdTest, AnUnreadableFetchedRowRemovesNothingAndAMissingIdIsNeverSent) {
    ASSERT_TRUE(load(token()));
    const Value first = service->items(MeetingKind::Rooms).front();
    const std::string room = testservice::idText(first["id"]);
    const std::string stored = room + "/" + room + "/" + first["revision"].description();
    service->bumpRevision(MeetingKind::Rooms, room);
    service->injectFault("GET", apiPath("events/" + eventId() + "/rooms?ids=" + room),
                         {.status = 200, .body = R"([{"id":null,"revision":9,"name":"Unnamed"}])"});
    ASSERT_TRUE(delta());
    EXPECT_EQ(storedRows(token()).at("Room").count(stored), 1u);

    service->clearRequestLog();
    EXPECT_FALSE(run([&](Done done) {
        QVAApiManager::sharedApiManager().acknowloedgeNotification(std::nullopt, token(), eventId(), done);
    }));
    for (const auto& request : service->requestLog()) EXPECT_EQ(request.path.find("(null)"), std::string::npos);
    EXPECT_EQ(count("QVACoreDataNotification", eventId()), service->items(MeetingKind::Notifications).size());
}

TEST_F(UnusableIdTest, AnIdOfAnyTextIsNamedExactlyInPathsAndIdsLists) {
    const std::vector<std::string> odd = {"a,b", "x&y=1", "h#frag", "50%", "q?c=1", "../../../user/relationships/10002",
                                          "a b?c=1#frag", "Zürich ÅÉ", ".."};
    service->mutate([&](testservice::MeetingData& data) {
        for (auto kind : testservice::allMeetingKinds()) {
            if (kind == MeetingKind::Events || kind == MeetingKind::Messages) continue;
            auto& items = data.items(kind);
            for (size_t i = 0; i < std::min(items.size(), odd.size()); ++i) items[i]["id"] = Value(odd[i]);
        }
    });
    ASSERT_TRUE(load(token()));
    const auto loaded = storedRows(token());
    // A changed revision has the delta fetch each of them by its id, but
    // for the id holding the list's comma, which no list may carry.
    for (auto kind : testservice::allMeetingKinds())
        for (const auto& id : odd)
            if (id != "a,b") service->bumpRevision(kind, id);
    service->clearRequestLog();
    ASSERT_TRUE(delta());
    std::set<std::string> asked;
    for (const auto& request : service->requestLog()) {
        const size_t at = request.path.find("?ids=");
        if (at == std::string::npos) continue;
        const std::string list = request.path.substr(at + 5, request.path.find('&', at) - at - 5);
        for (size_t from = 0; from <= list.size();) {
            const size_t comma = std::min(list.find(',', from), list.size());
            asked.insert(foundation::percentDecode(list.substr(from, comma - from)).value_or("undecodable"));
            from = comma + 1;
        }
    }
    std::set<std::string> listable(odd.begin(), odd.end());
    listable.erase("a,b");
    EXPECT_EQ(asked, listable);
    const auto updated = storedRows(token());
    service->addToken("fresh");
    ASSERT_TRUE(load("fresh"));
    EXPECT_EQ(updated, storedRows("fresh"));
    for (const auto& [entity, rows] : loaded) EXPECT_EQ(updated.at(entity).size(), rows.size()) << entity;
    EXPECT_EQ(updated.at("Session").size(), service->items(MeetingKind::Sessions).size());

    for (const auto& id : odd) {
        bool answered = false;
        Value occupancy;
        QVAApiManager::sharedApiManager().getSessionOccupancyForSubactivityId(
            id, eventId(), token(), [&](const foundation::ErrorPtr& error, const Value& result) {
                EXPECT_EQ(error, nullptr) << id;
                occupancy = result;
                answered = true;
            });
        ASSERT_TRUE(loop.runUntil([&] { return answered; }, apitest::kWait));
        EXPECT_TRUE(occupancy.object()) << id;
        EXPECT_TRUE(run([&](Done done) {
            QVAApiManager::sharedApiManager().addNoteToSession("Seen", id, eventId(), token(), done);
        })) << id;
    }
    for (const auto& request : service->requestLog())
        EXPECT_EQ(request.path.find("/user/relationships/10002"), std::string::npos) << request.path;
}

TEST_F(UnusableIdTest, AMessageWhoseIdIsNoThirtyTwoBitIntegerIsNotKeptAndNoOtherIsNamed) {
    const Value third = *service->item(MeetingKind::Messages, "3");
    const std::vector<Value> unusable = {Value::null(), Value::dictionary({{"v", 7}}), Value(""),
                                         Value(Value::Array{Value(7)}), Value(true), Value(3.75),
                                         Value(static_cast<long long>(4294967301LL)),
                                         // Other spellings of messages 3, 7 and 0, which the meeting holds.
                                         Value("03"), Value("007"), Value("-0")};
    service->mutate([&](testservice::MeetingData& data) {
        auto& items = data.items(MeetingKind::Messages);
        for (long long id : {0LL, 7LL}) {
            const bool held = std::any_of(items.begin(), items.end(), [&](const Value& item) {
                return ModelReading::idOf(item["id"]) == std::to_string(id);
            });
            if (!held)
                items.push_back(Value::dictionary({{"id", id}, {"threadId", 200 + id}, {"subject", "Held"}, {"read", false}}));
        }
        for (size_t i = 0; i < unusable.size(); ++i)
            data.items(MeetingKind::Messages)
                .push_back(Value::dictionary({{"id", unusable[i]},
                                              {"threadId", static_cast<long long>(100 + i)},
                                              {"subject", "Odd"},
                                              {"read", false}}));
    });
    const size_t kept = service->items(MeetingKind::Messages).size() - unusable.size();
    const Value seventh = *service->item(MeetingKind::Messages, "7");
    const Value zeroth = *service->item(MeetingKind::Messages, "0");
    const auto linesOfMessages = [](const foundation::ScopedLogCapture& log) {
        size_t lines = 0;
        for (const auto& line : log.lines()) lines += line.find("10 rows of messages have no usable id") == 0;
        return lines;
    };
    {
        foundation::ScopedLogCapture log;
        ASSERT_TRUE(load(token()));
        EXPECT_EQ(linesOfMessages(log), 1u);
    }
    EXPECT_EQ(count("QVACoreDataMessage", eventId()), kept);
    {
        foundation::ScopedLogCapture log;
        ASSERT_TRUE(delta());
        EXPECT_EQ(linesOfMessages(log), 1u);
    }
    EXPECT_EQ(count("QVACoreDataMessage", eventId()), kept);

    service->clearRequestLog();
    auto& messages = MessagesManager::sharedMessagesManager();
    for (int32_t thread = 100; thread < 110; ++thread) {
        EXPECT_TRUE(run([&](Done done) { messages.markAsReadMessageWithThreadId(thread, token(), done); }));
        EXPECT_TRUE(run([&](Done done) { messages.deleteMessageWithThreadId(thread, token(), done); }));
    }
    for (const auto& request : service->requestLog()) EXPECT_NE(request.path.rfind("/api/v1/messages/", 0), 0u);
    EXPECT_EQ(service->item(MeetingKind::Messages, "3"), third);
    EXPECT_EQ(service->item(MeetingKind::Messages, "7"), seventh);
    EXPECT_EQ(service->item(MeetingKind::Messages, "0"), zeroth);
}

// Every integer id the app reads from the service, each served as two
// spellings of one number on two objects: the canonical one is read as
// that number and the other as no id, so the two never become one row, and
// reading, deleting and replying to the thread of the kept one reach that
// message alone.
TEST_F(UnusableIdTest, TwoSpellingsOfOneIntegerIdNeverNameOneObject) {
    // A message's own, its thread's and its sender's; a venue's floor's.
    const std::vector<std::string> fields = {"id", "threadId", "participantId", "level"};
    struct Spelling {
        Value odd;
        long long number;
    };
    const std::vector<Spelling> spellings = {
        {Value("07"), 7},           {Value(7.0), 7},        {Value("7x"), 7},          {Value(" 7"), 7},
        {Value("+7"), 7},           {Value(static_cast<long long>(2147483648LL)), 2147483647},
        {Value("7.0"), 7},          {Value("1e4"), 10000},  {Value("0x7"), 7},         {Value("7 "), 7},
        {Value("-07"), -7},         {Value("\xd9\xa7"), 7}, {Value("10003,10002"), 10003}, {Value(5004.0), 5004},
        // Past 32 bits, where a number read in fewer bits wraps, and at the
        // largest the service's numbering of a reply must not overflow.
        {Value(static_cast<long long>(4294967303LL)), 7}, {Value(std::numeric_limits<long long>::max()), 7},
        {Value("\xef\xbc\x97"), 7},
    };
    ASSERT_TRUE(open(token(), eventId()));
    auto& messages = MessagesManager::sharedMessagesManager();
    for (const auto& field : fields) {
        for (const auto& [odd, number] : spellings) {
            const std::string label =
                field + " " + foundation::JSONSerialization::stringWithJSONObject(Value(Value::Array{odd})).value_or("");
            if (field == "level") {
                const std::string venue = testservice::idText(service->items(MeetingKind::Venues).front()["id"]);
                service->mutate([&](testservice::MeetingData& data) {
                    (*data.find(MeetingKind::Venues, venue))["floorLevels"] = Value(Value::Array{
                        Value::dictionary({{"name", "Kept"}, {"level", number}}),
                        Value::dictionary({{"name", "Odd"}, {"level", odd}})});
                });
                service->bumpRevision(MeetingKind::Venues, venue);
                ASSERT_TRUE(run([&](Done done) {
                    QVAApiManagerRefresh::refreshVenuesForEventId(eventId(), token(), done);
                })) << label;
                auto context = store.getCoreDataStackForAuthToken(token(), eventId())->managedObjectContextMainQueue();
                std::vector<std::string> floors;
                for (const auto& stored : FetchRequestUtils::getVenuesModelArrayInContext(context))
                    if (stored->itemId() == venue)
                        for (const auto& floor : stored->floorLevels())
                            floors.push_back(floor->name().value_or("") + " " + std::to_string(floor->levelNumber()));
                EXPECT_EQ(floors, std::vector<std::string>{"Kept " + std::to_string(number)}) << label;
                continue;
            }
            // Two messages of their own threads and senders; the field of
            // the second is the number, of the first its odd spelling.
            Value kept = Value::dictionary({{"id", 6002LL}, {"threadId", 6102LL}, {"participantId", 10003LL},
                                            {"subject", "Kept"}, {"read", false}});
            Value odder = Value::dictionary({{"id", 6001LL}, {"threadId", 6101LL}, {"participantId", 10002LL},
                                             {"subject", "Odd"}, {"read", false}});
            kept[field] = Value(number);
            odder[field] = odd;
            // A thread is known by a number above 0 only.
            if (field == "threadId" && number < 1) kept[field] = Value(-number);
            service->mutate([&](testservice::MeetingData& data) {
                data.items(MeetingKind::Messages) = {kept, odder};
            });
            {
                foundation::ScopedLogCapture log;
                ASSERT_TRUE(run([](Done done) { QVAApiManagerRefresh::refreshMessagesWithCompletionBlock(done); }))
                    << label;
                size_t lines = 0;
                for (const auto& line : log.lines()) lines += line.find("1 rows of messages have no usable id") == 0;
                EXPECT_EQ(lines, 1u) << label;
            }
            const auto stored = rows<QVACoreDataMessage>(token(), eventId());
            ASSERT_EQ(stored.size(), 1u) << label;
            EXPECT_EQ(stored.front()->messageId(), kept["id"].integerValue()) << label;
            EXPECT_EQ(stored.front()->threadId(), kept["threadId"].integerValue()) << label;
            EXPECT_EQ(stored.front()->participantId(), kept["participantId"].integerValue()) << label;

            service->clearRequestLog();
            service->clearWrites();
            const int32_t thread = stored.front()->threadId();
            EXPECT_TRUE(run([&](Done done) { messages.markAsReadMessageWithThreadId(thread, token(), done); })) << label;
            auto group = dispatch::Group::create();
            bool replied = false;
            group->enter();
            messages.sendMessageInBackground(
                QVAOutboxMessage::initWithBody("Reply", "Re: Kept", 1700000000, "Ann Lee", "10002", thread), group);
            group->notify(dispatch::Queue::main(), [&] { replied = true; });
            ASSERT_TRUE(loop.runUntil([&] { return replied; }, apitest::kWait)) << label;
            EXPECT_TRUE(run([&](Done done) { messages.deleteMessageWithThreadId(thread, token(), done); })) << label;

            const std::string keptPath = apiPath("messages/" + std::to_string(kept["id"].integerValue()));
            std::vector<std::string> touched;
            for (const auto& request : service->requestLog())
                if (request.path.rfind(apiPath("messages"), 0) == 0 && request.method != "GET")
                    touched.push_back(request.method + " " + request.path);
            EXPECT_EQ(touched, (std::vector<std::string>{"PATCH " + keptPath, "POST " + apiPath("messages"),
                                                         "DELETE " + keptPath}))
                << label;
            for (const auto& write : service->writes()) {
                if (write.method == "POST") {
                    EXPECT_EQ(write.body["threadId"].description(), std::to_string(thread)) << label;
                }
            }
            // The odd one is at the service as it was.
            const auto& left = service->items(MeetingKind::Messages);
            EXPECT_EQ(std::count(left.begin(), left.end(), odder), 1) << label;
        }
    }
}

TEST_F(UnusableIdTest, AnAgendaEntryWhoseSessionHasNoUsableIdIsLeftOutOnBothRoads) {
    ASSERT_TRUE(load(token()));
    const Value entry = service->items(MeetingKind::AgendaSelections).front();
    const std::string entryId = testservice::idText(entry["id"]);
    service->mutate([&](testservice::MeetingData& data) {
        (*data.find(MeetingKind::AgendaSelections, entryId))["session"]["id"] = Value::null();
    });
    service->bumpRevision(MeetingKind::AgendaSelections, entryId);
    ASSERT_TRUE(delta());
    const auto updated = storedRows(token());
    service->addToken("fresh");
    ASSERT_TRUE(load("fresh"));
    EXPECT_EQ(updated, storedRows("fresh"));
    EXPECT_EQ(updated.at("AgendaSelection").size(), service->items(MeetingKind::AgendaSelections).size() - 1);
    for (const auto& row : updated.at("AgendaSelection")) EXPECT_NE(row.rfind(entryId + "/", 0), 0u) << row;
}

}  // namespace
