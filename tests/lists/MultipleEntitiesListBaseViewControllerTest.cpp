#include "lists/MultipleEntitiesListBaseViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/MeetingStoreTestSupport.h"
#include "coredata/EntityDescription.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "lists/FilterModel.h"
#include "lists/IdIndexPair.h"
#include "store/CoreDataStack.h"
#include "support/TestAgendaListViewController.h"
#include "uikit/UIButton.h"

using foundation::Value;

namespace {

// A filter fixed on one session type.
class TypeFilter : public FilterModel {
public:
    std::string displayName() const override { return "Type"; }
    std::string defaultValue() const override { return "Any"; }
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr&) override {
        return coredata::Predicate::withFormat("type = %@", std::string("Workshop"));
    }
};

meetingtest::Row entitySession(const std::string& id, const std::string& title, const std::string& day,
                         const std::string& time, const std::string& type = "Plenary") {
    meetingtest::Row row{{"title", title},
                         {"startDatetime", day + "T" + time + ":00+01:00"},
                         {"keyword", "K"},
                         {"startDateString", day},
                         {"type", type}};
    if (!id.empty()) row["itemId"] = Value(id);
    return row;
}

meetingtest::Row role(const std::string& sessionId, const std::string& agendaItemId, const std::string& title,
                      const std::string& day, const std::string& time) {
    auto row = entitySession(sessionId, title, day, time);
    row["agendaItemId"] = Value(agendaItemId);
    return row;
}

class MultipleEntitiesListTest : public meetingtest::MeetingStoreTest {
protected:
    void SetUp() override {
        MeetingStoreTest::SetUp();
        stack_ = openCurrent("token");
        // Session 100 is selected and invited too; the personal entry has no day.
        insert("token", "QVACoreDataSession",
               {entitySession("100", "Opening plenary", "2015-03-10", "09:00"),
                entitySession("300", "Joint lunch", "2015-03-10", "12:00", "Workshop"),
                entitySession("200", "Jobs forum", "2015-03-11", "10:00", "Workshop"),
                entitySession("", "Walk without id", "2015-03-10", "15:00")});
        insert("token", "QVACoreDataAgendaSelection",
               {role("100", "sel-1", "Opening plenary (mine)", "2015-03-10", "09:00")});
        insert("token", "QVACoreDataAgendaInvitation",
               {role("100", "inv-1", "Opening plenary (invited)", "2015-03-10", "09:00")});
        auto jogging = role("pe-1", "pe-1", "Jogging", "2015-03-10", "07:00");
        jogging.erase("startDateString");
        insert("token", "QVACoreDataPersonalEntry", {jogging});
        list_ = std::make_shared<TestAgendaListViewController>();
    }
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        list_.reset();
        MeetingStoreTest::TearDown();
    }

    TestAgendaListDelegate& agenda() { return list_->agendaDelegate(); }
    uikit::UITableView& table() { return *list_->tableView(); }
    uikit::UITableView& results() { return *list_->searchDisplayController()->searchResultsTableView(); }

    static std::vector<std::string> titles(const LiteListBaseViewController::RowObjects& rows) {
        std::vector<std::string> found;
        for (const auto& row : rows) found.push_back(dynamic_cast<QVASession&>(*row).title().value_or("-"));
        return found;
    }
    std::vector<std::string> sectionTitles() {
        std::vector<std::string> found;
        for (int64_t s = 0; s < list_->numberOfSectionsInTableView(table()); ++s)
            found.push_back(list_->tableViewGetTitleForHeaderInSection(table(), s).value_or("-"));
        return found;
    }
    // By title (a search begins on the last scope, the contributors).
    void search(const std::string& text) {
        list_->searchDisplayController()->setActive(true);
        list_->searchDisplayController()->searchBar()->setSelectedScopeButtonIndex(0);
        list_->filterContentForSearchText(text, 0);
    }

    std::shared_ptr<CoreDataStack> stack_;
    std::shared_ptr<TestAgendaListViewController> list_;
};

TEST_F(MultipleEntitiesListTest, anIdShowsOnceFromTheFirstEntityInDaySectionsAscendingAndRowsWithoutADayAreLeftOut) {
    list_->loadViewIfNeeded();
    EXPECT_EQ(sectionTitles(), (std::vector<std::string>{"2015-03-10", "2015-03-11"}));
    const auto& sections = list_->sectionedDataSourceArray();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(titles(sections[0]),
              (std::vector<std::string>{"Opening plenary (mine)", "Joint lunch", "Walk without id"}));
    EXPECT_EQ(sections[0][0]->coreDataClass(), std::optional<std::string>("QVACoreDataAgendaSelection"));
    EXPECT_EQ(titles(sections[1]), (std::vector<std::string>{"Jobs forum"}));
    EXPECT_TRUE(list_->dataSourceArray().empty());
    EXPECT_EQ(list_->tableViewNumberOfRowsInSection(table(), 0), 3);
    EXPECT_EQ(list_->tableViewHeightForHeaderInSection(table(), 1), 23.0);
    // The table shows them through the delegate's cell filling.
    EXPECT_EQ(table().cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(1, 0))->textLabel()->text(),
              std::optional<std::string>("Joint lunch"));
}

TEST_F(MultipleEntitiesListTest, withoutOrderOrKeyPathRowsKeepEntityOrderThenFetchOrderInOneUntitledSection) {
    list_->order = {};
    list_->sectionKeyPath = std::nullopt;
    list_->loadViewIfNeeded();
    // A row without an id is kept and blocks nothing; the sessions come in their own fetch order.
    EXPECT_EQ(titles(list_->dataSourceArray()),
              (std::vector<std::string>{"Opening plenary (mine)", "Jogging", "Joint lunch", "Walk without id",
                                        "Jobs forum"}));
    EXPECT_EQ(list_->numberOfSectionsInTableView(table()), 1);
    EXPECT_EQ(list_->tableViewNumberOfRowsInSection(table(), 0), 5);
    EXPECT_EQ(list_->tableViewGetTitleForHeaderInSection(table(), 0), std::nullopt);
    EXPECT_EQ(list_->tableViewHeightForHeaderInSection(table(), 0), 23.0);
}

TEST_F(MultipleEntitiesListTest, theSearchIgnoresTheMutualPredicateFindsRowsWithoutADayAndHasNoHeaders) {
    list_->listPredicate = coredata::Predicate::withFormat("startDateString = %@", std::string("2015-03-11"));
    list_->loadViewIfNeeded();
    EXPECT_EQ(sectionTitles(), (std::vector<std::string>{"2015-03-11"}));

    search("jo");
    EXPECT_EQ(titles(list_->searchDataSourceArray()),
              (std::vector<std::string>{"Jogging", "Joint lunch", "Jobs forum"}));
    EXPECT_EQ(list_->numberOfSectionsInTableView(results()), 1);
    EXPECT_EQ(list_->tableViewNumberOfRowsInSection(results(), 0), 3);
    EXPECT_EQ(list_->tableViewHeightForHeaderInSection(results(), 0), 0.0);
    EXPECT_EQ(list_->tableViewGetTitleForHeaderInSection(results(), 0), std::nullopt);
    EXPECT_EQ(
        list_->selectedObjectForTableView(results(), uikit::NSIndexPath::indexPathForRow(2, 0))->selectionPropertyId(),
        std::optional<std::string>("200"));

    // A reload runs the search again for the bar's text.
    list_->searchDisplayController()->searchBar()->setText(std::string("lunch"));
    list_->reloadDataSourceAndTable();
    EXPECT_EQ(titles(list_->searchDataSourceArray()), (std::vector<std::string>{"Joint lunch"}));

    list_->searchDisplayControllerWillUnloadSearchResultsTableView(*list_->searchDisplayController(), results());
    EXPECT_TRUE(list_->searchDataSourceArray().empty());
}

TEST_F(MultipleEntitiesListTest, theSearchBarTakesTheDelegatesScopesAndHintLastScopeOnBeginAndAt100Characters) {
    agenda().scopes.push_back(SearchScopeModel::initWithPropertyName("keyword", "Keyword"));
    list_->loadViewIfNeeded();
    auto& bar = *list_->searchDisplayController()->searchBar();
    EXPECT_EQ(bar.scopeButtonTitles(), (std::vector<std::string>{"Title", "Contributors", "Keyword"}));
    EXPECT_EQ(bar.placeholder(), std::optional<std::string>("Search sessions"));
    EXPECT_EQ(bar.delegate(), std::dynamic_pointer_cast<uikit::UISearchBarDelegate>(list_));
    list_->searchDisplayControllerWillBeginSearch(*list_->searchDisplayController());
    EXPECT_EQ(bar.selectedScopeButtonIndex(), 2);

    bar.setText(std::string(99, 'a'));
    EXPECT_TRUE(list_->searchBarShouldChangeTextInRange(bar, {99, 0}, "b"));
    EXPECT_FALSE(list_->searchBarShouldChangeTextInRange(bar, {99, 0}, "bc"));
    EXPECT_TRUE(list_->searchBarShouldChangeTextInRange(bar, {0, 1}, "bc"));
}

TEST_F(MultipleEntitiesListTest, theListFetchAndsTheMutualTheEntitysAndTheFilterPredicatesAsDictionaries) {
    list_->loadViewIfNeeded();
    auto invitation =
        TestAgendaListDelegate::model("QVACoreDataAgendaInvitation", QVAAgendaInvitation::kClassName,
                                      coredata::Predicate::withFormat("status = %@", std::string("Invited")));
    invitation->setShouldFetchParentEntityOnly(true);
    auto request = list_->fetchRequestFromListSelectionModel(*invitation);
    EXPECT_EQ(request->entityName(), "QVACoreDataAgendaInvitation");
    EXPECT_FALSE(request->includesSubentities());
    EXPECT_EQ(request->resultType(), coredata::FetchRequestResultType::Dictionary);
    EXPECT_EQ(request->sortDescriptors().size(), 3u);
    const auto invited = Value::dictionary({{"status", "Invited"}, {"type", "Plenary"}});
    EXPECT_TRUE(request->predicate()->evaluateWithObject(invited));

    list_->filterCollectionBy({std::make_shared<TypeFilter>()});
    EXPECT_FALSE(list_->fetchRequestFromListSelectionModel(*invitation)->predicate()->evaluateWithObject(invited));
    // Only the workshops stay, each under its day.
    EXPECT_EQ(titles(list_->sectionedDataSourceArray()[0]), (std::vector<std::string>{"Joint lunch"}));
    EXPECT_EQ(titles(list_->sectionedDataSourceArray()[1]), (std::vector<std::string>{"Jobs forum"}));
    ASSERT_TRUE(table().tableHeaderView());
    EXPECT_EQ(table().tableHeaderView()->frame().size.height, 23.0);
    EXPECT_EQ(list_->filtersForFiltersController().size(), 1u);
    EXPECT_NE(list_->filtersForFiltersController()[0], list_->filtersArray()[0]);

    list_->filterCollectionBy({});
    EXPECT_FALSE(table().tableHeaderView());
    try {
        list_->filtersForFiltersController();
        FAIL() << "without filters the list asks its collection, which the base lacks";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "GetFilterCollection not implemented -> ");
    }
}

TEST_F(MultipleEntitiesListTest, aDelegateWithoutObservedClassesIgnoresSavesOneWithTheAgendaRoleReloadsOncePerMatch) {
    list_->loadViewIfNeeded();
    auto& main = *stack_->managedObjectContextMainQueue();
    auto save = [&](const std::string& entity, meetingtest::Row fields) {
        auto row = coredata::EntityDescription::insertNewObjectForEntityForName(entity, main);
        for (const auto& [key, value] : fields) row->setValue(value, key);
        ASSERT_EQ(main.save(), nullptr);
        foundation::RunLoop::main().runDueTasks();
    };
    save("QVACoreDataAgendaInvitation", role("200", "inv-2", "Jobs forum (invited)", "2015-03-11", "10:00"));
    EXPECT_EQ(agenda().additionalDataRefreshes, 0);
    EXPECT_EQ(titles(list_->sectionedDataSourceArray()[1]), (std::vector<std::string>{"Jobs forum"}));

    agenda().observed = std::vector<std::string>{"QVACoreDataAgendaRole"};
    save("QVACoreDataSession", entitySession("400", "Closing", "2015-03-11", "18:00"));
    EXPECT_EQ(agenda().additionalDataRefreshes, 0);
    save("QVACoreDataAgendaSelection", role("400", "sel-4", "Closing (mine)", "2015-03-11", "18:00"));
    EXPECT_EQ(agenda().additionalDataRefreshes, 1);
    EXPECT_EQ(titles(list_->sectionedDataSourceArray()[1]),
              (std::vector<std::string>{"Jobs forum (invited)", "Closing (mine)"}));
}

TEST_F(MultipleEntitiesListTest, theSectionedSwipeWrapsBothWaysAndAnswersNothingForAStaleId) {
    list_->loadViewIfNeeded();
    const auto& sections = list_->sectionedDataSourceArray();
    using uikit::NSIndexPath;
    auto next = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("200"),
                                                                         NSIndexPath::indexPathForRow(0, 1), sections);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(next->objectId(), std::optional<std::string>("sel-1"));
    EXPECT_EQ(next->entityName(), std::optional<std::string>("QVACoreDataAgendaSelection"));
    EXPECT_EQ(table().indexPathForSelectedRow(), NSIndexPath::indexPathForRow(0, 0));

    auto previous = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        1, std::string("sel-1"), NSIndexPath::indexPathForRow(0, 0), sections);
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->indexPath(), NSIndexPath::indexPathForRow(0, 1));
    auto across = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        2, std::string("300"), NSIndexPath::indexPathForRow(1, 0), sections);
    ASSERT_TRUE(across);
    EXPECT_EQ(across->indexPath(), NSIndexPath::indexPathForRow(2, 0));
    EXPECT_EQ(across->entityName(), std::optional<std::string>("QVACoreDataSession"));
    EXPECT_FALSE(list_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        2, std::string("100"), NSIndexPath::indexPathForRow(1, 0), sections));

    // The flat step over a given array: the base's rule, in the given table.
    const auto& flat = sections[0];
    auto wrapped = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        1, std::nullopt, NSIndexPath::indexPathForRow(0, 0), flat, &table());
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->indexPath(), NSIndexPath::indexPathForRow(2, 0));
    EXPECT_EQ(wrapped->entityName(), std::optional<std::string>("QVACoreDataSession"));
    EXPECT_EQ(table().indexPathForSelectedRow(), NSIndexPath::indexPathForRow(2, 0));
    EXPECT_FALSE(list_->getNextIdIndexPathPairAndMoveSelectionInDirection(
        1, std::nullopt, NSIndexPath::indexPathForRow(0, 0), {flat[0]}, nullptr));
}

}  // namespace
