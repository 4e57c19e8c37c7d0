// The participant list delegates: the filter set and its presets, which
// stored participants each list and starred section selects, and the
// precedence of the contributions list's entities.
#include <gtest/gtest.h>

#include <set>

#include "../Utils/MeetingStoreTestSupport.h"
#include "../support/TestAgendaListViewController.h"
#include "lists/FilterModel.h"
#include "lists/QuovanaNetworkFilterModel.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVABaseItemModel.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPermission.h"
#include "people/ContributorsListDelegate.h"
#include "people/ParticipantContributionsListDelegate.h"
#include "people/ParticipantsListDelegate.h"
#include "model/EntityClass.h"

namespace {

using foundation::Value;
using Filters = ParticipantsListDelegate::Filters;

constexpr const char* kToken = "people-token";

class ParticipantsListDelegateTest : public meetingtest::MeetingStoreTest {
protected:
    void SetUp() override {
        MeetingStoreTest::SetUp();
        registerEntityClasses();
        openCurrent(kToken);
    }

    void grantNotes() {
        insert(kToken, QVACoreDataPermission::kEntityName, {{{"code", Value("event:notes")}, {"granted", Value(true)}}});
    }
    void storeNetworks() {
        insert(kToken, QVACoreDataParticipant::kEntityName,
               {{{"itemId", Value("n1")}, {"quovanaNetworks", Value("|1|N1|2|C1|3||1|N2|2|C3|3|")}},
                {{"itemId", Value("n2")}, {"quovanaNetworks", Value("|1|N1|2|C2|3|")}}});
    }

    static std::vector<std::string> names(const Filters& filters) {
        std::vector<std::string> out;
        for (const auto& filter : filters) {
            auto network = std::dynamic_pointer_cast<QuovanaNetworkFilterModel>(filter);
            out.push_back(network ? "Network " + network->networkName().value_or("") : filter->className());
        }
        return out;
    }
    // The filters whose selected value differs from a fresh set's.
    static std::vector<std::string> preset(const Filters& filters, const Filters& fresh) {
        std::vector<std::string> out;
        EXPECT_EQ(filters.size(), fresh.size());
        for (size_t i = 0; i < filters.size() && i < fresh.size(); ++i)
            if (!(filters[i]->selectedValue() == fresh[i]->selectedValue())) out.push_back(filters[i]->className());
        return out;
    }
    std::set<std::string> participantIds(const coredata::PredicatePtr& predicate) {
        std::set<std::string> ids;
        for (const auto& row : rows<QVACoreDataParticipant>(kToken, "42", predicate)) ids.insert(row->itemId().value_or(""));
        return ids;
    }
};

TEST_F(ParticipantsListDelegateTest, TheFilterSetHasANetworkFilterOnlyForNetworksOfTwoCommunities) {
    grantNotes();
    storeNetworks();
    ParticipantsListDelegate delegate;
    const auto filters = delegate.filtersCollection().value_or(Filters{});
    EXPECT_EQ(names(filters), (std::vector<std::string>{"CountryFilterModel", "ParticipantNotesFilterModel",
                                                        "GroupFilterModel", "Network N1", "OrganizationSectorFilterModel",
                                                        "OrganizationCountryFilterModel"}));
    // A new set on every call.
    EXPECT_NE(delegate.filtersCollection()->front(), filters.front());
}

TEST_F(ParticipantsListDelegateTest, PresetsSetOnlyTheirOwnFilterAndNothingWithoutIt) {
    grantNotes();
    storeNetworks();
    ParticipantsListDelegate delegate;
    const auto fresh = delegate.filtersCollection().value_or(Filters{});
    EXPECT_TRUE(preset(delegate.filtersWithSelectedNetwork("N2", "C3"), fresh).empty());
    EXPECT_EQ(preset(delegate.filtersWithSelectedNetwork("N1", "C2"), fresh),
              std::vector<std::string>{"QuovanaNetworkFilterModel"});
    auto country = delegate.filtersWithSelectedCountry("Kenya");
    EXPECT_EQ(preset(country, fresh), std::vector<std::string>{"CountryFilterModel"});
    EXPECT_EQ(country.front()->selectedValue(), Value("Kenya"));
    EXPECT_EQ(preset(delegate.filtersWithNotes(), fresh), std::vector<std::string>{"ParticipantNotesFilterModel"});
    EXPECT_EQ(preset(delegate.filtersWithSelectedGroup("G"), fresh), std::vector<std::string>{"GroupFilterModel"});
}

TEST_F(ParticipantsListDelegateTest, WithoutTheNotesPermissionThereIsNoNotesFilterToPreset) {
    ParticipantsListDelegate delegate;
    const auto fresh = delegate.filtersCollection().value_or(Filters{});
    EXPECT_EQ(names(fresh), (std::vector<std::string>{"CountryFilterModel", "GroupFilterModel",
                                                      "OrganizationSectorFilterModel", "OrganizationCountryFilterModel"}));
    EXPECT_TRUE(preset(delegate.filtersWithNotes(), fresh).empty());
}

TEST_F(ParticipantsListDelegateTest, ListsAndStarredSectionsSelectTheirPopulations) {
    insert(kToken, QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("in")}, {"inBooklet", Value(true)}},
            {{"itemId", Value("out")}, {"inBooklet", Value(false)}, {"contributions", Value("s1|speaker")}},
            {{"itemId", Value("quiet")}, {"inBooklet", Value(false)}}});
    insert(kToken, "QVACoreDataFollowedParticipant", {{{"itemId", Value("out")}}, {{"itemId", Value("quiet")}}});
    ParticipantsListDelegate participants;
    ContributorsListDelegate contributors;
    // Before any load the starred sections match nothing.
    EXPECT_TRUE(participantIds(participants.favoritesFetchPredicate()).empty());

    auto list = std::make_shared<TestAgendaListViewController>();
    auto stack = store.getCoreDataStackForAuthToken(kToken, "42");
    participants.refreshAdditionalDataSourceForCoreDataStack(stack, *list);
    contributors.refreshAdditionalDataSourceForCoreDataStack(stack, *list);

    EXPECT_EQ(participantIds(*participants.fetchPredicate()), std::set<std::string>{"in"});
    EXPECT_EQ(participantIds(*contributors.fetchPredicate()), std::set<std::string>{"out"});
    EXPECT_EQ(participantIds(participants.favoritesFetchPredicate()), (std::set<std::string>{"out", "quiet"}));
    EXPECT_EQ(participantIds(contributors.favoritesFetchPredicate()), std::set<std::string>{"out"});
    EXPECT_TRUE(participants.participantIsFavorited(std::string("quiet")));
    EXPECT_FALSE(participants.participantIsFavorited(std::string("in")));
}

TEST_F(ParticipantsListDelegateTest, TheUsersSelectionOfASessionWinsOverTheOfficialSession) {
    insert(kToken, "QVACoreDataSession",
           {{{"itemId", Value("s1")}, {"title", Value("Opening")}, {"startDatetime", Value("2015-03-10T09:00:00+01:00")}},
            {{"itemId", Value("s2")}, {"title", Value("Closing")}, {"startDatetime", Value("2015-03-10T17:00:00+01:00")}}});
    insert(kToken, "QVACoreDataAgendaSelection",
           {{{"itemId", Value("s1")}, {"agendaItemId", Value("a1")}, {"title", Value("Opening")},
             {"startDatetime", Value("2015-03-10T09:00:00+01:00")}}});
    ParticipantContributionsListDelegate contributions;
    EXPECT_EQ(contributions.sectionNameKeyPath(), std::nullopt);

    auto list = std::make_shared<TestAgendaListViewController>();
    list->sectionKeyPath = std::nullopt;
    list->agendaDelegate().models = *contributions.listSelectionModelEntities();
    list->initDataSource();
    const auto& rows = list->dataSourceArray();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(std::dynamic_pointer_cast<QVAAgendaSelections>(rows[0]), nullptr);
    auto idOf = [](const std::shared_ptr<IEntityModel>& row) {
        auto model = std::dynamic_pointer_cast<QVABaseItemModel>(row);
        return model ? model->itemId() : std::nullopt;
    };
    EXPECT_EQ(idOf(rows[0]), std::optional<std::string>("s1"));
    EXPECT_EQ(idOf(rows[1]), std::optional<std::string>("s2"));
}

}  // namespace
