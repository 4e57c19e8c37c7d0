// The shared queries: permission checks, the meeting's date range, the
// id lists and look-ups, the day lists and the networks of participants,
// each answered from rows written straight into a store.
#include <gtest/gtest.h>

#include "Utils/MeetingStoreTestSupport.h"
#include "foundation/DateFormatter.h"
#include "store/FetchRequestUtils.h"

namespace meetingtest {
namespace {

using foundation::Value;
using Check = bool (*)(const coredata::ContextPtr&);
using FRU = FetchRequestUtils;
using Ids = FetchRequestUtils::Strings;

foundation::Date serviceDate(const char* text) {
    foundation::DateFormatter formatter;
    formatter.setDateFormat("yyyy'-'MM'-'dd'T'HH':'mm':'ssxxx");
    return *formatter.dateFromString(text);
}

TEST_F(MeetingStoreTest, PermissionsNeedAGrantedRowOfTheirCode) {
    auto context = openCurrent("perm")->managedObjectContextMainQueue();
    insert("perm", "QVACoreDataPermission",
           {{{"code", "event:notes"}, {"granted", false}},
            {{"code", "messages:send"}, {"granted", true}},
            {{"code", "messages:send"}, {"granted", false}}});
    EXPECT_FALSE(FRU::hasEventNotesPermissionGrantedInContext(context));
    EXPECT_TRUE(FRU::hasMessagesSendPermissionGrantedInContext(context));
    EXPECT_FALSE(FRU::hasEventChangePermissionGrantedInContext(context));

    // Each named check asks for its own code, and only for it.
    const std::vector<std::pair<Check, const char*>> checks = {
        {FRU::hasEventNotesPermissionGrantedInContext, "event:notes"},
        {FRU::hasEventChangePermissionGrantedInContext, "event:change"},
        {FRU::hasRelantionshipsReadPermissionGrantedInContext, "relationships:read"},
        {FRU::hasRelantionshipsWritePermissionGrantedInContext, "relationships:write"},
        {FRU::hasMessagesReadPermissionGrantedInContext, "messages:read"},
        {FRU::hasMessagesSendPermissionGrantedInContext, "messages:send"},
        {FRU::hasUserPrivacySettingsPermissionGrantedInContext, "user:privacy_settings"},
        {FRU::hasAgendaPersonalEntriesPermissionGrantedInContext, "my_agenda:personal_entries"},
        {FRU::hasAgendaInvitationsPermissionGrantedInContext, "my_agenda:invitations"},
        {FRU::hasAgendaSelectionsPermissionGrantedInContext, "my_agenda:selections"},
        {FRU::hasAgendaResponsibilitiesPermissionGrantedInContext, "my_agenda:responsibilities"},
        {FRU::hasEventRecommendationsPermissionGrantedInContext, "event:recommendations"}};
    for (size_t granted = 0; granted < checks.size(); ++granted) {
        const std::string token = "one" + std::to_string(granted);
        auto only = open(token)->managedObjectContextMainQueue();
        insert(token, "QVACoreDataPermission", {{{"code", checks[granted].second}, {"granted", true}}});
        for (size_t i = 0; i < checks.size(); ++i)
            EXPECT_EQ(checks[i].first(only), i == granted) << checks[granted].second << " asked by " << i;
    }
}

TEST_F(MeetingStoreTest, MeetingRangeRunsFromTwoDaysBeforeToTwoDaysAfterInTheMeetingZone) {
    openCurrent("range");
    EXPECT_FALSE(FRU::getMeetingDatesRangeForAuthToken("range", "42"));

    insert("range", "QVACoreDataSession",
           {{{"itemId", "s2"}, {"startDatetime", "2015-03-12T15:00:00+02:00"}},
            {{"itemId", "s1"}, {"startDatetime", "2015-03-10T09:00:00+02:00"}},
            {{"itemId", "s3"}, {"startDatetime", "2015-03-11T09:00:00+02:00"}}});
    setDeviceZone("Pacific/Auckland");
    auto range = FRU::getMeetingDatesRangeForAuthToken("range", "42");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->start, serviceDate("2015-03-08T07:00:00+02:00"));
    EXPECT_EQ(range->end, serviceDate("2015-03-14T23:59:00+02:00"));
}

TEST_F(MeetingStoreTest, LookUpsAndIdListsAnswerFromTheStore) {
    auto context = openCurrent("look")->managedObjectContextMainQueue();
    insert(
        "look", "QVACoreDataSessionNote",
        {{{"sessionId", "s1"}, {"note", "bring slides"}}, {{"sessionId", "s2"}, {"note", ""}}, {{"sessionId", "s3"}}});
    insert("look", "QVACoreDataParticipantNote",
           {{{"participantId", "p1"}, {"note", "met"}}, {{"participantId", "p2"}}});
    insert("look", "QVACoreDataSession", {{{"itemId", "s1"}}});
    insert("look", "QVACoreDataAgendaSelection", {{{"itemId", "s1"}}});
    insert("look", "QVACoreDataPersonalEntry", {{{"itemId", "pe1"}}});
    insert("look", "QVACoreDataOrganization", {{{"itemId", "o1"}}});
    insert("look", "QVACoreDataFollowedParticipant", {{{"itemId", "p1"}}});
    insert("look", "QVACoreDataRoom", {{{"itemId", "r1"}, {"name", "Hall A"}, {"venueId", "v1"}}});

    EXPECT_EQ(FRU::getNotEmptySubactivityNoteIdsArrayInContext(context), Ids{"s1"});
    EXPECT_EQ(FRU::getNotEmptyParticipantsNoteIdsArrayInContext(context), Ids{"p1"});
    EXPECT_EQ(FRU::getNoteForSessionId("s1", context), "bring slides");
    EXPECT_FALSE(FRU::getNoteForSessionId("s9", context));
    auto agenda = FRU::getAgendaIdsArrayInContext(context);
    std::sort(agenda.begin(), agenda.end());
    EXPECT_EQ(agenda, (Ids{"pe1", "s1"}));
    EXPECT_TRUE(FRU::isSessionInOfficial("s1", context));
    EXPECT_FALSE(FRU::isSessionInOfficial("pe1", context));  // agenda rows are not official
    EXPECT_TRUE(FRU::existsOrganizationWithId("o1", context));
    EXPECT_EQ(FRU::getFavoritedparticipantIdsArrayInContext(context), Ids{"p1"});
    EXPECT_TRUE(FRU::isFollowedParticipant("p1"));
    auto rooms = FRU::getRoomsModelArrayInContext(context);
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0]->name(), "Hall A");
    EXPECT_EQ(rooms[0]->venueId(), "v1");
    // Entities the model does not have answer nothing.
    EXPECT_FALSE(FRU::hasSessionVotingLink("s1", context));
    EXPECT_FALSE(FRU::isSubactivityInWatchlistWithId(7, context));

    EXPECT_TRUE(FRU::subactivityHasPersonalNotes("s1", {"s0", "s1"}));
    EXPECT_FALSE(FRU::subactivityIsInAgendaWithId("s1", {}));
    EXPECT_TRUE(FRU::subactivityIsAPrivateSessionWithId("s1", {}));
    EXPECT_FALSE(FRU::subactivityIsAPrivateSessionWithId("s1", {"s1"}));

    settings.clear();
    EXPECT_FALSE(FRU::isFollowedParticipant("p1"));  // no current account
}

TEST_F(MeetingStoreTest, DayListsAndNetworks) {
    auto stack = openCurrent("days");
    insert("days", "QVACoreDataSession",
           {{{"itemId", "a"}, {"startDateString", "2015-03-12"}, {"type", "talk"}},
            {{"itemId", "b"}, {"startDateString", "2015-03-10"}, {"type", "talk"}},
            {{"itemId", "c"}, {"startDateString", "2015-03-11"}, {"type", "lunch"}},
            {{"itemId", "d"}, {"startDateString", "2015-03-10"}, {"type", "lunch"}},
            {{"itemId", "e"}}});
    EXPECT_EQ(FRU::getAllDaysArray(stack, "QVACoreDataSession", nullptr),
              (Ids{"2015-03-10", "2015-03-11", "2015-03-12"}));
    EXPECT_EQ(FRU::getAllDaysArray(stack, "QVACoreDataSession", coredata::Predicate::withFormat("type == %@", "talk")),
              (Ids{"2015-03-10", "2015-03-12"}));
    // The agenda's kinds are entities of their own: a day two of them share
    // is listed once.
    insert("days", "QVACoreDataAgendaSelection", {{{"itemId", "f"}, {"startDateString", "2015-03-14"}}});
    insert("days", "QVACoreDataPersonalEntry",
           {{{"itemId", "g"}, {"startDateString", "2015-03-14"}}, {{"itemId", "h"}, {"startDateString", "2015-03-13"}}});
    EXPECT_EQ(FRU::getAllDaysArray(stack, "QVACoreDataAgendaRole", nullptr), (Ids{"2015-03-13", "2015-03-14"}));

    auto context = stack->managedObjectContextMainQueue();
    insert("days", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"quovanaNetworks", "|1|A|2|x|3||1|B|2|beta|3||1|C|2|Alpha|3|"}},
            {{"itemId", "p2"}, {"quovanaNetworks", "|1|A|2|y|3||1|A|2|x|3||1|D|3|"}},
            {{"itemId", "p3"}, {"quovanaNetworks", ""}},
            {{"itemId", "p4"}}});
    auto networks = FRU::getQuovanaNetworksFromSourcePropertyName("quovanaNetworks", context);
    EXPECT_EQ(networks, (FRU::Networks{{"A", {"x", "y"}}, {"B", {"beta"}}, {"C", {"Alpha"}}}));  // D has no community
    EXPECT_EQ(FRU::getGroupQuovanaCommunitiesFromSourcePropertyName("quovanaNetworks", context),
              (Ids{"Alpha", "beta"}));
    EXPECT_EQ(FRU::getNetworkQuovanaCommunitiesFromSourcePropertyName("quovanaNetworks", "A", context),
              (Ids{"x", "y"}));
    EXPECT_TRUE(FRU::getNetworkQuovanaCommunitiesFromSourcePropertyName("quovanaNetworks", "Z", context).empty());
}

}  // namespace
}  // namespace meetingtest
