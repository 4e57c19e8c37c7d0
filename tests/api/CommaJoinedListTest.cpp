// The lists the client joins with commas, against the local service: an id
// holding a comma is never sent as an item of any of them (neither whole
// and encoded, nor as the two ids a service that decodes before it splits
// would read), the other ids are; and a listed row the delta left out as
// unusable is fetched again only once its listed revision moves.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "api/LocalServiceTest.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManager_FullDownload.h"
#include "foundation/StringUtils.h"
#include "foundation/URL.h"

namespace {

using foundation::Value;
using testservice::MeetingKind;
using Done = std::function<void(const foundation::ErrorPtr&, const Value&)>;

constexpr const char* kCommaId = "7100001,7100002";
constexpr const char* kPlainId = "7100003";

class CommaJoinedListTest : public apitest::LocalServiceTest {
protected:
    void SetUp() override {
        LocalServiceTest::SetUp();
        event = fetchEvent(eventId());
        makeCurrent(account(), event);
        auto user = QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token()}}));
        open(token(), eventId());
        ASSERT_TRUE(run([&](Done done) { QVAApiManagerFullDownload::loadAllDataForAccount(user, event, nullptr, done); }));
    }
    bool run(const std::function<void(Done)>& start) {
        bool called = false, failed = true;
        start([&](const foundation::ErrorPtr& error, const Value&) {
            called = true;
            failed = error != nullptr;
        });
        return loop.runUntil([&] { return called; }, apitest::kWait) && !failed;
    }
    bool delta() {
        return run([&](Done done) { QVAApiManagerDelta::loadDeltaUpdatesForEventId(eventId(), token(), done); });
    }
    // A copy of the kind's first item under another id, so it is new to the store.
    void addCopy(MeetingKind kind, const std::string& id, const std::function<void(Value&)>& change = nullptr) {
        service->mutate([&](testservice::MeetingData& data) {
            Value item = data.items(kind).front();
            item["id"] = Value(id);
            if (change) change(item);
            data.items(kind).push_back(std::move(item));
        });
    }
    // The items of every "?ids=" list sent to the list's path, as a service
    // that splits first reads them and as one that decodes first does.
    struct SentItems {
        std::set<std::string> splitFirst, decodedFirst;
    };
    std::map<std::string, SentItems> sentIdsLists() {
        std::map<std::string, SentItems> sent;
        for (const auto& request : service->requestLog()) {
            const size_t at = request.path.find("?ids=");
            if (at == std::string::npos) continue;
            auto& items = sent[request.path.substr(0, at)];
            const std::string list = request.path.substr(at + 5, request.path.find('&', at) - at - 5);
            for (const auto& item : foundation::StringUtils::split(list, ","))
                items.splitFirst.insert(foundation::percentDecode(item).value_or("undecodable"));
            for (const auto& item : foundation::StringUtils::split(foundation::percentDecode(list).value_or(""), ","))
                items.decodedFirst.insert(item);
        }
        return sent;
    }
    std::shared_ptr<QVAEvent> event;
};

// The delta's "ids" lists, by the kind whose path they go to.
const std::vector<MeetingKind>& joinedLists() {
    static const std::vector<MeetingKind> lists = {
        MeetingKind::Events,
        MeetingKind::Sessions,
        MeetingKind::Participants,
        MeetingKind::Partners,
        MeetingKind::Organizations,
        MeetingKind::AgendaInvitations,
        MeetingKind::AgendaResponsibilities,
        MeetingKind::AgendaSelections,
        MeetingKind::PersonalEntries,
        MeetingKind::Rooms,
        MeetingKind::Venues,
        MeetingKind::MeetingDelegates,
        MeetingKind::LoginDelegators,
        MeetingKind::ParticipantNotes,
        MeetingKind::SessionNotes,
        MeetingKind::MessageRecipients,
    };
    return lists;
}

TEST_F(CommaJoinedListTest, NoIdsListOfTheDeltaCarriesAnIdHoldingACommaAndEachCarriesTheOthers) {
    for (auto kind : joinedLists()) {
        addCopy(kind, kCommaId);
        addCopy(kind, kPlainId);
    }
    service->clearRequestLog();
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(delta());
    auto sent = sentIdsLists();
    for (auto kind : joinedLists()) {
        const std::string path = "/api/v1/" + testservice::listPath(kind, eventId());
        SCOPED_TRACE(path);
        const auto& items = sent[path];
        EXPECT_EQ(items.splitFirst.count(kPlainId), 1u);
        EXPECT_EQ(items.decodedFirst.count(kPlainId), 1u);
        EXPECT_EQ(items.splitFirst.count(kCommaId), 0u);
        for (const char* part : {"7100001", "7100002"}) EXPECT_EQ(items.decodedFirst.count(part), 0u);
        // Left out with the list's one line.
        EXPECT_TRUE(apitest::logged(log, "1 rows of " + testservice::listPath(kind, eventId()) +
                                             " have no usable id and were not stored"));
    }
}

TEST_F(CommaJoinedListTest, ARowLeftOutAsUnusableIsFetchedAgainOnlyOnceItsListedRevisionMoves) {
    const std::string selections = "/api/v1/" + testservice::listPath(MeetingKind::AgendaSelections, eventId());
    const std::string recipients = "/api/v1/" + testservice::listPath(MeetingKind::MessageRecipients, eventId());
    // An agenda entry whose session names no id, and a recipient whose id
    // may not join a list.
    addCopy(MeetingKind::AgendaSelections, kPlainId, [](Value& item) {
        if (auto* session = item["session"].dictionary()) session->erase("id");
        item.dictionary()->erase("sessionId");
    });
    addCopy(MeetingKind::MessageRecipients, kCommaId);
    const size_t selectionsBefore = count("QVACoreDataAgendaSelection", eventId());

    auto fetchedIds = [&](const std::string& path) {
        auto sent = sentIdsLists();
        return sent.count(path) ? sent[path].splitFirst : std::set<std::string>{};
    };
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        service->clearRequestLog();
        foundation::ScopedLogCapture log;
        ASSERT_TRUE(delta());
        // Fetched once, and then not again while it is listed at that revision.
        EXPECT_EQ(fetchedIds(selections), pass == 0 ? std::set<std::string>{kPlainId} : std::set<std::string>{});
        EXPECT_TRUE(fetchedIds(recipients).empty());
        // What was fetched but not stored is not counted as new or changed.
        EXPECT_FALSE(apitest::logged(log, "STORED ON QVACoreDataAgendaSelection"));
        EXPECT_EQ(count("QVACoreDataAgendaSelection", eventId()), selectionsBefore);
    }

    ASSERT_TRUE(service->bumpRevision(MeetingKind::AgendaSelections, kPlainId));
    ASSERT_TRUE(service->bumpRevision(MeetingKind::MessageRecipients, kCommaId));
    service->clearRequestLog();
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(delta());
    EXPECT_EQ(fetchedIds(selections), std::set<std::string>{kPlainId});
    EXPECT_TRUE(fetchedIds(recipients).empty());
    EXPECT_TRUE(apitest::logged(log, "1 rows of messages/recipients have no usable id and were not stored"));

    // A changed row that is read whole is stored and counted.
    const Value first = service->items(MeetingKind::Rooms).front();
    ASSERT_TRUE(service->bumpRevision(MeetingKind::Rooms, testservice::idText(first["id"])));
    foundation::ScopedLogCapture rooms;
    ASSERT_TRUE(delta());
    EXPECT_TRUE(apitest::logged(rooms, "STORED ON QVACoreDataRoom nr = 1"));
}

}  // namespace
