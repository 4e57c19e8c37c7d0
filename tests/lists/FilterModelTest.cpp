#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "lists/CountryFilterModel.h"
#include "lists/DateFilterModel.h"
#include "lists/FavContribFilterModel.h"
#include "lists/FilterModel.h"
#include "lists/GroupFilterModel.h"
#include "lists/LocationFilterModel.h"
#include "lists/LocationFilterValueModel.h"
#include "lists/OrganizationCountryFilterModel.h"
#include "lists/OrganizationSectorFilterModel.h"
#include "lists/ParticipantNotesFilterModel.h"
#include "lists/PropertyFilterModel.h"
#include "lists/QuovanaNetworkFilterModel.h"
#include "lists/SessionNotesFilterModel.h"
#include "lists/SessionTypeFilterModel.h"
#include "lists/SpouseAllowedFilterModel.h"
#include "lists/TimeFilterModel.h"
#include "Utils/MeetingStoreTestSupport.h"

using coredata::Predicate;
using coredata::PredicatePtr;
using foundation::Value;
using Ids = std::set<std::string>;

namespace {

std::vector<std::string> texts(const Value::Array& values) {
    std::vector<std::string> out;
    for (const auto& value : values) out.push_back(value.stringValue());
    return out;
}

}  // namespace

TEST(FilterModel, AbstractMembersRaiseNamingTheClass) {
    FilterModel bare;
    try {
        (void)bare.displayName();
        FAIL() << "displayName did not raise";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), "displayName not implemented in filter model class-> ");
        EXPECT_EQ(exception.reason(), "implement displayName for class FilterModel");
    }
    try {
        (void)bare.filterPredicateWithCoreDataStack(nullptr);
        FAIL() << "filterPredicateWithCoreDataStack did not raise";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), "filterPredicateWithCoreDataStack not implemented in filter model class-> ");
        EXPECT_EQ(exception.reason(), "implement filterPredicateWithCoreDataStack for class FilterModel");
    }
    EXPECT_THROW((void)bare.getPossibleValuesWithCoreDataStack(nullptr), foundation::Exception);
    EXPECT_THROW((void)bare.requestClass(), foundation::Exception);
    EXPECT_THROW((void)bare.selectedValue(), foundation::Exception);  // reads the default value
    PropertyFilterModel property;
    try {
        (void)property.propertyName();
        FAIL() << "propertyName did not raise";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.reason(), "implement propertyName for class PropertyFilterModel");
    }
}

TEST(FilterModel, TimeBandsHoldTheirBoundsWhole) {
    TimeFilterModel filter;
    EXPECT_EQ(texts(filter.getPossibleValuesWithCoreDataStack(nullptr)),
              (std::vector<std::string>{"Any", "Morning (00:00 - 11:59)", "LunchTime (11:30 - 13:59)",
                                        "Afternoon (12:00 - 17:59)", "Evening (18:00 - 23:59)"}));
    auto bands = [&](const std::string& displayTime) {
        std::vector<std::string> hit;
        for (size_t i = 1; i < filter.timeLabels().size(); ++i) {
            filter.setSelectedValue(Value(filter.timeLabels()[i]));
            auto predicate = filter.filterPredicateWithCoreDataStack(nullptr);
            if (predicate->evaluateWithObject(Value::dictionary({{"displayTime", displayTime}})))
                hit.push_back(filter.timeLabels()[i].substr(0, filter.timeLabels()[i].find(' ')));
        }
        return hit;
    };
    EXPECT_EQ(bands("11:45 - 12:30"), (std::vector<std::string>{"Morning", "LunchTime"}));
    EXPECT_EQ(bands("12:00 - 13:00"), (std::vector<std::string>{"LunchTime", "Afternoon"}));
    EXPECT_EQ(bands("11:59 - 12:30"), (std::vector<std::string>{"Morning", "LunchTime"}));
    EXPECT_EQ(bands("17:59 - 18:30"), (std::vector<std::string>{"Afternoon"}));
    EXPECT_EQ(bands("23:59 - 23:59"), (std::vector<std::string>{"Evening"}));
    EXPECT_EQ(bands("00:00 - 01:00"), (std::vector<std::string>{"Morning"}));
    EXPECT_EQ(bands("18:00 - 19:00"), (std::vector<std::string>{"Evening"}));

    filter.setSelectedValue(Value("Any"));
    EXPECT_EQ(filter.filterPredicateWithCoreDataStack(nullptr)->kind(), Predicate::Kind::True);
}

TEST(FilterModel, BooleanFiltersCompareWithYesOrNo) {
    SpouseAllowedFilterModel filter;
    EXPECT_EQ(texts(filter.getPossibleValuesWithCoreDataStack(nullptr)),
              (std::vector<std::string>{"Any", "Open to spouse", "Not open to spouse"}));
    filter.setSelectedValue(Value("Open to spouse"));
    auto open = filter.filterPredicateWithCoreDataStack(nullptr);
    EXPECT_TRUE(open->evaluateWithObject(Value::dictionary({{"spouseAllowed", true}})));
    EXPECT_FALSE(open->evaluateWithObject(Value::dictionary({{"spouseAllowed", false}})));
    filter.setSelectedValue(Value("Not open to spouse"));
    EXPECT_TRUE(filter.filterPredicateWithCoreDataStack(nullptr)->evaluateWithObject(
        Value::dictionary({{"spouseAllowed", false}})));
}

class FilterStore : public meetingtest::MeetingStoreTest {
protected:
    std::shared_ptr<CoreDataStack> stack;

    void SetUp() override {
        MeetingStoreTest::SetUp();
        stack = openCurrent("token");
    }

    Ids ids(const std::string& entity, const PredicatePtr& predicate) {
        auto request = store.fetchRequestForItemType(EntityClass::named(entity), predicate,
                                                     stack->managedObjectContextMainQueue());
        Ids out;
        for (const auto& row : store.executeFetchRequestAndWait(request, stack->managedObjectContextMainQueue()))
            out.insert(row.objectAs<coredata::ManagedObject>()->valueForKey("itemId").stringValue());
        return out;
    }
    Ids participants(FilterModel& filter) {
        return ids("QVACoreDataParticipant", filter.filterPredicateWithCoreDataStack(stack));
    }
    Ids sessions(FilterModel& filter) { return ids("QVACoreDataSession", filter.filterPredicateWithCoreDataStack(stack)); }
};

TEST_F(FilterStore, CountryOffersTrimmedValuesAndMatchesTheWholeValue) {
    insert("token", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"countryOfNationality", "Niger"}},
            {{"itemId", "p2"}, {"countryOfNationality", " Niger"}},
            {{"itemId", "p3"}, {"countryOfNationality", "nigér"}},
            {{"itemId", "p4"}, {"countryOfNationality", "Nigeria"}},
            {{"itemId", "p5"}, {"countryOfNationality", "   "}},
            {{"itemId", "p6"}},
            {{"itemId", "p7"}, {"countryOfNationality", " France"}},
            {{"itemId", "p8"}, {"countryOfNationality", "France"}}});
    CountryFilterModel filter;
    EXPECT_TRUE(filter.isSearchable());
    EXPECT_EQ(filter.selectedValue().stringValue(), "Any");
    EXPECT_EQ(filter.filterPredicateWithCoreDataStack(stack)->kind(), Predicate::Kind::True);

    EXPECT_EQ(texts(filter.getPossibleValuesWithCoreDataStack(stack)),
              (std::vector<std::string>{"Any", "France", "Niger", "France", "Niger", "Nigeria", "nigér"}));

    filter.setSelectedValue(Value("Niger"));
    EXPECT_EQ(participants(filter), (Ids{"p1", "p2", "p3"}));
    filter.setSelectedValue(Value("Any"));
    EXPECT_EQ(filter.filterPredicateWithCoreDataStack(stack)->kind(), Predicate::Kind::True);
}

TEST_F(FilterStore, TypeMatchesTheWholeType) {
    insert("token", "QVACoreDataSession",
           {{{"itemId", "s1"}, {"type", "Workshop"}}, {{"itemId", "s2"}, {"type", "Workshop lunch"}}});
    SessionTypeFilterModel filter;
    filter.setSelectedValue(Value("workshop "));
    EXPECT_EQ(sessions(filter), (Ids{}));  // the offered values are trimmed already
    filter.setSelectedValue(Value("Workshop"));
    EXPECT_EQ(sessions(filter), (Ids{"s1"}));
}

TEST_F(FilterStore, OrganisationFiltersOfferAndMatchBusinessOrganisations) {
    insert("token", "QVACoreDataOrganization",
           {{{"itemId", "o1"}, {"sector", "Energy"}, {"country", "Chad"}, {"organizationType", "NGO"}},
            {{"itemId", "o2"}, {"sector", "Mining "}, {"country", "Chad"}, {"organizationType", "Business"}},
            {{"itemId", "o3"}, {"sector", "Mining and energy"}, {"organizationType", "Business"}}});
    insert("token", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"organizationId", "o1"}},
            {{"itemId", "p2"}, {"organizationId", "o2"}},
            {{"itemId", "p3"}, {"organizationId", "o3"}}});
    OrganizationSectorFilterModel sector;
    EXPECT_EQ(texts(sector.getPossibleValuesWithCoreDataStack(stack)),
              (std::vector<std::string>{"Any", "Mining", "Mining and energy"}));
    sector.setSelectedValue(Value("Energy"));  // only an NGO's sector
    EXPECT_EQ(sector.filterPredicateWithCoreDataStack(stack)->kind(), Predicate::Kind::False);
    EXPECT_EQ(participants(sector), (Ids{}));
    sector.setSelectedValue(Value("Mining"));
    EXPECT_EQ(participants(sector), (Ids{"p2"}));

    OrganizationCountryFilterModel country;
    EXPECT_EQ(texts(country.getPossibleValuesWithCoreDataStack(stack)), (std::vector<std::string>{"Any", "Chad"}));
    country.setSelectedValue(Value("chad"));
    EXPECT_EQ(participants(country), (Ids{"p2"}));
}

TEST_F(FilterStore, DateOffersTheProgrammeDaysTitledInTheMeetingZone) {
    insert("token", "QVACoreDataSession",
           {{{"itemId", "s1"}, {"startDateString", "2015-03-10"}, {"startDatetime", "2015-03-10T09:00:00+01:00"}},
            {{"itemId", "s2"}, {"startDateString", "2015-03-11"}, {"startDatetime", "2015-03-11T09:00:00+01:00"}},
            {{"itemId", "s3"}, {"startDateString", "not a day"}, {"startDatetime", "2015-03-12T09:00:00+01:00"}}});
    DateFilterModel filter;
    EXPECT_EQ(texts(filter.getPossibleValuesWithCoreDataStack(stack)),
              (std::vector<std::string>{"Any", "Tuesday 10 March", "Wednesday 11 March", ""}));
    filter.setSelectedValue(Value("Wednesday 11 March"));
    EXPECT_EQ(sessions(filter), (Ids{"s2"}));
    filter.setSelectedValue(Value("Thursday 12 March"));  // a day no longer there
    EXPECT_EQ(filter.filterPredicateWithCoreDataStack(stack)->kind(), Predicate::Kind::False);
}

TEST_F(FilterStore, CopiesShareTheSelectedValue) {
    insert("token", "QVACoreDataRoom", {{{"itemId", "r1"}, {"name", "Room 1"}}});
    insert("token", "QVACoreDataSession", {{{"itemId", "s1"}, {"roomId", "r1"}}});
    LocationFilterModel location;
    auto values = location.getPossibleValuesWithCoreDataStack(stack);
    ASSERT_EQ(values.size(), 2u);
    location.setSelectedValue(values[1]);
    auto copied = location.copy();
    EXPECT_EQ(copied->className(), "LocationFilterModel");
    EXPECT_EQ(copied->selectedValue().object(), values[1].object());

    QuovanaNetworkFilterModel network;
    network.setNetworkName("Arts");
    network.setSelectedValue(Value("Music"));
    auto networkCopy = std::dynamic_pointer_cast<QuovanaNetworkFilterModel>(network.copy());
    ASSERT_NE(networkCopy, nullptr);
    EXPECT_EQ(networkCopy->displayName(), "Arts");
    EXPECT_EQ(networkCopy->selectedValue().stringValue(), "Music");
}

TEST_F(FilterStore, LocationOffersTheRoomsInUse) {
    insert("token", "QVACoreDataVenue", {{{"itemId", "v1"}, {"name", "Venue A"}}, {{"itemId", "v2"}}});
    insert("token", "QVACoreDataRoom",
           {{{"itemId", "r1"}, {"name", "Room 1"}, {"venueId", "v1"}},
            {{"itemId", "r2"}, {"name", "Room 2"}, {"venueId", "v1"}},
            {{"itemId", "r3"}, {"name", "Room 3"}, {"venueId", "v2"}},
            {{"itemId", "r4"}, {"name", "Room 4"}, {"venueId", "v1"}},
            {{"itemId", "r5"}, {"name", "Room 5"}, {"venueId", "v1"}}});
    insert("token", "QVACoreDataAgendaInvitation",
           {{{"itemId", "s1"}, {"roomId", "r1"}, {"status", "Confirmed"}},
            {{"itemId", "s2"}, {"roomId", "r2"}, {"status", "Declined"}}});
    insert("token", "QVACoreDataPersonalEntry", {{{"itemId", "e1"}, {"roomId", "r2"}}});
    insert("token", "QVACoreDataAgendaSelection", {{{"itemId", "s3"}, {"roomId", "r3"}, {"status", "Any"}}});
    insert("token", "QVACoreDataSession", {{{"itemId", "s4"}, {"roomId", "r4"}}});
    LocationFilterModel filter;
    EXPECT_EQ(texts(filter.getPossibleValuesWithCoreDataStack(stack)),
              (std::vector<std::string>{"Any", "Room 1, Venue A", "Room 3", "Room 4, Venue A"}));
    EXPECT_FALSE(filter.roomHasAssociatedSessions("r2", stack));
    EXPECT_FALSE(filter.roomHasAssociatedSessions("r5", stack));

    auto values = filter.getPossibleValuesWithCoreDataStack(stack);
    filter.setSelectedValue(values[3]);
    EXPECT_EQ(sessions(filter), (Ids{"s4"}));
    // A value whose text reads "Any" counts as unset.
    filter.setSelectedValue(Value("Any"));
    EXPECT_EQ(filter.filterPredicateWithCoreDataStack(stack)->kind(), Predicate::Kind::True);
}

TEST_F(FilterStore, NotesAndStarredFiltersEmptyTheListWhenNothingMatches) {
    insert("token", "QVACoreDataSession", {{{"itemId", "s1"}}, {{"itemId", "s2"}}});
    insert("token", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"contributions", "s1|speaker"}}, {{"itemId", "p2"}, {"contributions", "s2|chair"}}});
    SessionNotesFilterModel notes;
    notes.setSelectedValue(Value("With notes"));
    EXPECT_EQ(sessions(notes), (Ids{}));
    FavContribFilterModel starred;
    starred.setSelectedValue(Value("With starred participants"));
    EXPECT_EQ(sessions(starred), (Ids{}));

    insert("token", "QVACoreDataSessionNote", {{{"sessionId", "s2"}, {"note", "bring slides"}}, {{"sessionId", "s1"}, {"note", ""}}});
    insert("token", "QVACoreDataFollowedParticipant", {{{"itemId", "p1"}}});
    insert("token", "QVACoreDataParticipantNote", {{{"participantId", "p2"}, {"note", "met"}}});
    EXPECT_EQ(sessions(notes), (Ids{"s2"}));
    EXPECT_EQ(sessions(starred), (Ids{"s1"}));
    ParticipantNotesFilterModel participantNotes;
    participantNotes.setSelectedValue(Value("With notes"));
    EXPECT_EQ(participants(participantNotes), (Ids{"p2"}));
}

TEST_F(FilterStore, GroupMatchesACommunityUnderAnyNetworkTheNetworkUnderItsOwn) {
    insert("token", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"quovanaNetworks", "|1|Arts|2|C|3||1|Sport|2|Golf|3|"}},
            {{"itemId", "p2"}, {"quovanaNetworks", "|1|Science|2|C|3|"}},
            {{"itemId", "p3"}, {"quovanaNetworks", "|1|Arts|2|Music|3|"}}});
    GroupFilterModel group;
    group.setSelectedValue(Value("C"));
    EXPECT_EQ(participants(group), (Ids{"p1", "p2"}));

    QuovanaNetworkFilterModel network;
    network.setNetworkName("Arts");
    EXPECT_EQ(texts(network.getPossibleValuesWithCoreDataStack(stack)), (std::vector<std::string>{"Any", "C", "Music"}));
    network.setSelectedValue(Value("C"));
    EXPECT_EQ(participants(network), (Ids{"p1"}));
}
