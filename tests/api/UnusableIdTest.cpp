// Rows whose id cannot be used read the same through the full download and
// the delta: the same answers give the same stored rows whichever way they
// came, a fetched row that cannot be read removes nothing, and no request
// goes out with "(null)" where an id belongs.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "api/LocalServiceTest.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManager_FullDownload.h"
#include "coredata/FetchRequest.h"

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
    bool run(const std::function<void(Done)>& start) {
        bool called = false, failed = true;
        start([&](const foundation::ErrorPtr& error, const Value&) {
            called = true;
            failed = error != nullptr;
        });
        return loop.runUntil([&] { return called; }, apitest::kWait) && !failed;
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

}  // namespace
