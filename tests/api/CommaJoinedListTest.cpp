// The delta's comma-joined "ids" lists against the local service: an id
// holding a comma is never sent as an item (whole, or as the two ids a
// service that decodes before it splits reads), the others are; a listed
// row left out as unusable is fetched again only once its revision moves.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

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

// Every kind the delta fetches by an "ids" list.
const MeetingKind kIdsListKinds[] = {
    MeetingKind::Events,           MeetingKind::Sessions,          MeetingKind::Participants,
    MeetingKind::Partners,         MeetingKind::Organizations,     MeetingKind::AgendaInvitations,
    MeetingKind::AgendaResponsibilities, MeetingKind::AgendaSelections, MeetingKind::PersonalEntries,
    MeetingKind::Rooms,            MeetingKind::Venues,            MeetingKind::MeetingDelegates,
    MeetingKind::LoginDelegators,  MeetingKind::ParticipantNotes,  MeetingKind::SessionNotes,
    MeetingKind::MessageRecipients,
};

class CommaJoinedListTest : public apitest::LocalServiceTest {
protected:
    void SetUp() override {
        LocalServiceTest::SetUp();
        auto event = fetchEvent(eventId());
        makeCurrent(account(), event);
        auto user = QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token()}}));
        open(token(), eventId());
        ASSERT_TRUE(run([&](Done done) { QVAApiManagerFullDownload::loadAllDataForAccount(user, event, nullptr, done); }));
    }
    bool delta() {
        service->clearRequestLog();
        return run([&](Done done) { QVAApiManagerDelta::loadDeltaUpdatesForEventId(eventId(), token(), done); });
    }
    // A copy of the kind's first item under an id new to the store.
    void addCopy(MeetingKind kind, const std::string& id, const std::function<void(Value&)>& change = nullptr) {
        service->mutate([&](testservice::MeetingData& data) {
            Value item = data.items(kind).front();
            item["id"] = Value(id);
            if (change) change(item);
            data.items(kind).push_back(std::move(item));
        });
    }
    // The items of the "ids" lists sent to the kind's path, split and then
    // decoded, and decoded and then split.
    std::set<std::string> sentItems(MeetingKind kind) {
        std::set<std::string> items;
        const std::string prefix = "/api/v1/" + testservice::listPath(kind, eventId()) + "?ids=";
        for (const auto& request : service->requestLog()) {
            if (request.path.rfind(prefix, 0) != 0) continue;
            const std::string list = request.path.substr(prefix.size());
            for (const auto& item : foundation::StringUtils::split(list, ","))
                items.insert(foundation::percentDecode(item).value_or("undecodable"));
            for (const auto& item : foundation::StringUtils::split(foundation::percentDecode(list).value_or(""), ","))
                items.insert(item);
        }
        return items;
    }
};

TEST_F(CommaJoinedListTest, NoIdsListOfTheDeltaCarriesAnIdHoldingACommaAndEachCarriesTheOthers) {
    for (auto kind : kIdsListKinds) {
        addCopy(kind, kCommaId);
        addCopy(kind, kPlainId);
    }
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(delta());
    for (auto kind : kIdsListKinds) {
        const std::string list = testservice::listPath(kind, eventId());
        EXPECT_EQ(sentItems(kind), std::set<std::string>{kPlainId}) << list;
        EXPECT_TRUE(apitest::logged(log, "1 rows of " + list + " have no usable id and were not stored")) << list;
    }
}

TEST_F(CommaJoinedListTest, ARowLeftOutAsUnusableIsFetchedAgainOnlyOnceItsListedRevisionMoves) {
    // An agenda entry whose session names no id; a recipient whose id may not join a list.
    addCopy(MeetingKind::AgendaSelections, kPlainId,
            [](Value& item) { item["session"].dictionary()->erase("id"); });
    addCopy(MeetingKind::MessageRecipients, kCommaId);
    const size_t selections = count("QVACoreDataAgendaSelection", eventId());
    for (int pass = 0; pass < 2; ++pass) {
        foundation::ScopedLogCapture log;
        ASSERT_TRUE(delta());
        EXPECT_EQ(sentItems(MeetingKind::AgendaSelections).size(), pass == 0 ? 1u : 0u) << pass;
        EXPECT_TRUE(sentItems(MeetingKind::MessageRecipients).empty()) << pass;
        // Fetched but not stored: not counted as new or changed.
        EXPECT_FALSE(apitest::logged(log, "STORED ON QVACoreDataAgendaSelection")) << pass;
        EXPECT_EQ(count("QVACoreDataAgendaSelection", eventId()), selections);
    }
    ASSERT_TRUE(service->bumpRevision(MeetingKind::AgendaSelections, kPlainId));
    ASSERT_TRUE(service->bumpRevision(MeetingKind::Rooms, testservice::idText(service->items(MeetingKind::Rooms)[0]["id"])));
    foundation::ScopedLogCapture log;
    ASSERT_TRUE(delta());
    EXPECT_EQ(sentItems(MeetingKind::AgendaSelections), std::set<std::string>{kPlainId});
    EXPECT_TRUE(apitest::logged(log, "STORED ON QVACoreDataRoom nr = 1"));
}

}  // namespace
