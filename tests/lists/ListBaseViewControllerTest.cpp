#include "lists/ListBaseViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../support/TestParticipantsList.h"
#include "PhoneScreenStoreTest.h"
#include "analytics/AnalyticsUtils.h"
#include "app/AppStoryboards.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/IdIndexPair.h"
#include "store/CoreDataStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UIButton.h"
#include "uikit/UIWindow.h"

namespace {

using meetingtest::Row;
using Update = uikit::UITableViewUpdate;

// A fixed-default filter whose predicate the test chooses.
class ListFixedFilter : public FilterModel {
public:
    ListFixedFilter(std::string name, std::string value, coredata::PredicatePtr predicate = nullptr)
        : name_(std::move(name)), predicate_(std::move(predicate)) {
        setSelectedValue(foundation::Value(std::move(value)));
    }
    std::string displayName() const override { return name_; }
    std::string defaultValue() const override { return "Any"; }
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr&) override { return predicate_; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override {
        return std::make_shared<ListFixedFilter>(name_, defaultValue(), predicate_);
    }

private:
    std::string name_;
    coredata::PredicatePtr predicate_;
};

Row participant(const std::string& id, const std::string& first, const std::string& last,
                const std::string& section = "", const std::string& organization = "Acme",
                const std::string& country = "France") {
    return {{"itemId", foundation::Value(id)},           {"firstName", foundation::Value(first)},
            {"lastName", foundation::Value(last)},       {"fullName", foundation::Value(first + " " + last)},
            {"sectionTitle", foundation::Value(section)}, {"organizationName", foundation::Value(organization)},
            {"countryOfNationality", foundation::Value(country)}};
}

class ListBaseTest : public meetingtest::PhoneScreenStoreTest {
protected:
    void SetUp() override {
        PhoneScreenStoreTest::SetUp();
        TestParticipantsList::registerScene(phoneStoryboard());
    }
    void releaseScreens() override { list_.reset(); }

    // The list, made from the storyboard, shown as the window's root.
    std::shared_ptr<TestParticipantsListViewController> show(const std::function<void(TestParticipantsDataSource&)>& setUp = {}) {
        list_ = BaseViewController::instantiateViewController<TestParticipantsListViewController>();
        if (setUp) setUp(list_->source());
        showAsRoot(list_);
        driver_.settle();
        return list_;
    }
    std::shared_ptr<uikit::UITableView> table() const { return list_->tableView(); }
    std::string rowText(int64_t section, int64_t row) const {
        auto cell = table()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, section));
        return cell ? cell->textLabel()->text().value_or("") : "<out of view>";
    }
    std::vector<std::string> rowTexts(uikit::UITableView& tableView) const {
        std::vector<std::string> texts;
        for (const auto& cell : tableView.visibleCells()) texts.push_back(cell->textLabel()->text().value_or(""));
        return texts;
    }
    // A write on the store's worker, saved through the main-queue context.
    void onWorker(std::function<void(coredata::ManagedObjectContext&)> change) {
        auto written = await([&](auto done) {
            store.executeBlockInWorkerBackgroundContext(std::move(change), std::string("token"), std::string("42"), nullptr,
                                                        done);
        });
        EXPECT_EQ(written.error, nullptr);
        driver_.settle();
    }
    void rename(const std::string& id, const std::string& fullName) {
        onWorker([id, fullName](coredata::ManagedObjectContext& context) {
            auto request = coredata::FetchRequest::fetchRequestWithEntityName("QVACoreDataParticipant");
            request.setPredicate(coredata::Predicate::withFormat("itemId == %@", id));
            for (const auto& value : context.executeFetchRequest(request))
                value.objectAs<coredata::ManagedObject>()->setValue(foundation::Value(fullName), "fullName");
        });
    }
    void remove(const std::string& id) {
        onWorker([id](coredata::ManagedObjectContext& context) {
            auto request = coredata::FetchRequest::fetchRequestWithEntityName("QVACoreDataParticipant");
            request.setPredicate(coredata::Predicate::withFormat("itemId == %@", id));
            for (const auto& value : context.executeFetchRequest(request))
                context.deleteObject(value.objectAs<coredata::ManagedObject>());
        });
    }
    void seed(std::vector<Row> rows) {
        openCurrent("token");
        insert("token", "QVACoreDataParticipant", std::move(rows));
    }
    std::string headerTitle() const {
        auto header = std::dynamic_pointer_cast<CustomSectionHeaderTableView>(table()->tableHeaderView());
        return header ? header->headerTitleLabel()->text().value_or("") : "<none>";
    }

    uikit::ScreenDriver driver_;
    std::shared_ptr<TestParticipantsListViewController> list_;
};

// --- A list without what it needs ---

TEST_F(ListBaseTest, aListWithoutDelegateRaisesOnItsFirstFetchAndTheBaseAnswersItsDefaults) {
    openCurrent("token");
    auto bare = std::make_shared<ListBaseViewController>();
    try {
        bare->fetchedResultsController();
        FAIL() << "no entity name";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "Entity name not implemented -> ");
        EXPECT_EQ(e.reason(), "implement entity name for class ListBaseViewController");
    }
    EXPECT_THROW(bare->sectionNameKeyPath(), foundation::Exception);
    try {
        bare->getFilterCollection();
        FAIL() << "no filter collection";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "GetFilterCollection not implemented -> ");
        EXPECT_EQ(e.reason(), "implement method for class ListBaseViewController");
    }
    EXPECT_EQ(bare->sortDescriptors(), std::nullopt);
    EXPECT_EQ(bare->fetchPredicate(), coredata::Predicate::truePredicate());
    EXPECT_TRUE(bare->entitiesArrayToObserveForFilteringUIUpdates().empty());

    // The search order falls back to the list order.
    auto source = std::make_shared<TestParticipantsDataSource>();
    bare->setListDelegate(source);
    EXPECT_EQ(bare->sortDescriptorsForSearch()->size(), source->sortDescriptors().size());
    source->searchOrder = ListsDataSourceProtocol::SortDescriptors{coredata::SortDescriptor("firstName", false)};
    EXPECT_EQ(bare->sortDescriptorsForSearch()->front().key(), "firstName");

    foundation::ScopedLogCapture log;
    bare->headerFilterButtonPressed(nullptr);
    bare->onPullToRefreshExecuted();
    EXPECT_TRUE(log.contains("Please implement in subclasses"));
    EXPECT_TRUE(log.contains("Implement this in subclasses"));

    // Off the main thread the rebuild refuses.
    std::string raised;
    std::thread([&] {
        try {
            bare->refreshFetchedResultsControllersAndTables();
        } catch (const foundation::Exception& e) {
            raised = e.name() + "|" + e.reason();
        }
    }).join();
    EXPECT_EQ(raised, "Please call this from main thread only|");
}

TEST_F(ListBaseTest, aListOpenedWithoutAStoreLogsAndShowsNoRows) {
    foundation::ScopedLogCapture log;
    show();
    EXPECT_EQ(list_->fetchedResultsController(), nullptr);
    EXPECT_EQ(table()->numberOfSections(), 0);
    EXPECT_TRUE(log.contains(
        "Unable to create a new instance for frc: coreDataStack or managedObjectContextMainQueue is nil"));
    EXPECT_EQ(list_->newSearchFetchedResultsControllerWithSearchText(std::string("a"), 0), nullptr);
    EXPECT_TRUE(log.contains(
        "Unable to create a new instance for search frc: coreDataStack or managedObjectContextMainQueue is nil"));
}

// --- Filters and their header ---

TEST_F(ListBaseTest, theFilterHeaderCaptionsTheChangedFiltersInOrderAndATapReachesTheList) {
    seed({participant("p1", "Ann", "Adams", "", "Acme", "France"), participant("p2", "Bob", "Brown", "", "Zeta", "Peru")});
    show();
    EXPECT_EQ(table()->tableHeaderView(), nullptr);

    auto org = std::make_shared<ListFixedFilter>("Organization", "Zeta", coredata::Predicate::withFormat("organizationName == %@", "Zeta"));
    auto country = std::make_shared<ListFixedFilter>("Country", "Peru");
    auto untouched = std::make_shared<ListFixedFilter>("Type", "Any");
    list_->filterCollectionBy({org, untouched, country});
    driver_.settle();
    EXPECT_EQ(headerTitle(), "Filter: Zeta & Peru");
    auto header = table()->tableHeaderView();
    EXPECT_EQ(header->frame().size, graphics::Size(375, 23));
    EXPECT_EQ(rowTexts(*table()), std::vector<std::string>{"Bob Brown"});

    // A tap anywhere on the header reaches the list (which opens the filters screen).
    auto button = std::dynamic_pointer_cast<uikit::UIButton>(header->subviews().back());
    ASSERT_TRUE(button);
    EXPECT_EQ(button->frame(), header->bounds());
    button->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    EXPECT_EQ(list_->headerTaps, 1);

    // One filter at its default: an empty caption, its own predicate decides.
    list_->filterCollectionBy({std::make_shared<ListFixedFilter>("Type", "Any", coredata::Predicate::withFormat("lastName == %@", "Adams"))});
    driver_.settle();
    EXPECT_EQ(headerTitle(), "Filter: ");
    EXPECT_EQ(rowTexts(*table()), std::vector<std::string>{"Ann Adams"});

    // No filters: no header, every row.
    list_->filterCollectionBy({});
    driver_.settle();
    EXPECT_EQ(table()->tableHeaderView(), nullptr);
    EXPECT_EQ(rowTexts(*table()), (std::vector<std::string>{"Ann Adams", "Bob Brown"}));
    EXPECT_EQ(ListBaseViewController::buildFilterCaptionTextForFilters({}), std::nullopt);
}

TEST_F(ListBaseTest, theFiltersScreenGetsCopiesOfTheActiveFiltersElseTheListsCollection) {
    seed({participant("p1", "Ann", "Adams")});
    show();
    auto offered = list_->filtersForFiltersController();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0]->className(), "CountryFilterModel");
    auto active = std::make_shared<ListFixedFilter>("Country", "Peru");
    list_->setFiltersArray({active});
    auto copies = list_->filtersForFiltersController();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(copies[0], active);
    EXPECT_EQ(copies[0]->selectedValue().stringValue(), "Peru");
}

// --- Search ---

TEST_F(ListBaseTest, searchSelectsTheLastScopeLimitsTheTextAndListsMatchesInOneSectionInSearchOrder) {
    seed({participant("p1", "Ann", "Adams", "A", "Acme"), participant("p2", "Bob", "Brown", "B", "Zeta"),
          participant("p3", "Cy", "Acker", "A", "Acme"), participant("p4", "Dee", "Dunn", "D", "Acme")});
    show([](TestParticipantsDataSource& source) {
        source.sectionKeyPath = std::string("sectionTitle");
        source.searchOrder = ListsDataSourceProtocol::SortDescriptors{coredata::SortDescriptor("firstName", false)};
        source.predicateForSearch = coredata::Predicate::withFormat("lastName != %@", "Dunn");
    });
    auto search = list_->searchDisplayController();
    auto bar = search->searchBar();
    EXPECT_EQ(bar->scopeButtonTitles(), (std::vector<std::string>{"Organization", "Name"}));
    EXPECT_EQ(bar->placeholder(), "Search participants");
    EXPECT_EQ(bar->delegate().get(), static_cast<uikit::UISearchBarDelegate*>(list_.get()));

    list_->setFiltersArray({std::make_shared<ListFixedFilter>("Not Bob", "x", coredata::Predicate::withFormat("itemId != %@", "p2"))});
    ASSERT_TRUE(driver_.search("ac"));
    driver_.settle();
    EXPECT_EQ(bar->selectedScopeButtonIndex(), 1);  // "Name"
    // Name scope: "ac" in the names (Acker, and not Dunn by fetchPredicateForSearch).
    auto results = search->searchResultsTableView();
    EXPECT_EQ(results->numberOfSections(), 1);
    EXPECT_EQ(rowTexts(*results), std::vector<std::string>{"Cy Acker"});
    ASSERT_TRUE(driver_.scope(0));
    driver_.settle();
    // Organization scope: the Acme people but Dunn, by first name descending.
    EXPECT_EQ(rowTexts(*results), (std::vector<std::string>{"Cy Acker", "Ann Adams"}));
    EXPECT_EQ(list_->getCurrentTableView(), results);

    // The 100-unit limit, counted in UTF-16 units.
    bar->setText(std::string(99, 'x'));
    EXPECT_TRUE(list_->searchBarShouldChangeTextInRange(*bar, {99, 0}, "y"));
    EXPECT_FALSE(list_->searchBarShouldChangeTextInRange(*bar, {99, 0}, "\xF0\x9F\x98\x80"));
    bar->setText(std::string(100, 'x'));
    EXPECT_FALSE(list_->searchBarShouldChangeTextInRange(*bar, {100, 0}, "y"));
    EXPECT_TRUE(list_->searchBarShouldChangeTextInRange(*bar, {10, 3}, "abc"));

    // Leaving the search detaches and drops its controller.
    auto searchController = list_->searchFetchedResultsController();
    ASSERT_TRUE(searchController);
    EXPECT_NE(searchController->delegate(), nullptr);
    ASSERT_TRUE(driver_.endSearch());
    driver_.settle();
    EXPECT_EQ(searchController->delegate(), nullptr);
    EXPECT_EQ(list_->getCurrentTableView(), table());
}

// --- Headers and swipes ---

TEST_F(ListBaseTest, sectionHeadersAndSwipeStepsAcrossSections) {
    seed({participant("p1", "Ann", "Adams", "A"), participant("p2", "Al", "Avery", "A"), participant("p3", "Bob", "Brown", "B")});
    show([](TestParticipantsDataSource& source) { source.sectionKeyPath = std::string("sectionTitle"); });
    EXPECT_EQ(table()->heightForHeaderInSection(0), 23);
    EXPECT_EQ(table()->heightForHeaderInSection(1), 23);
    EXPECT_EQ(table()->titleForHeaderInSection(1), "B");

    auto path = [](int64_t section, int64_t row) { return uikit::NSIndexPath::indexPathForRow(row, section); };
    constexpr unsigned next = SwipeParentControllerProtocol::kNextRowDirection, previous = 1;
    auto step = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(next, std::string("p2"), path(0, 1));
    ASSERT_TRUE(step);
    EXPECT_EQ(step->indexPath(), path(1, 0));
    EXPECT_EQ(step->objectId(), "p3");
    EXPECT_EQ(step->entityName(), std::nullopt);
    EXPECT_EQ(table()->indexPathForSelectedRow(), path(1, 0));
    step = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(next, std::string("p3"), path(1, 0));
    EXPECT_EQ(step->indexPath(), path(0, 0));
    step = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(previous, std::string("p1"), path(0, 0));
    EXPECT_EQ(step->indexPath(), path(1, 0));
    EXPECT_EQ(step->objectId(), "p3");
    step = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(previous, std::string("p3"), path(1, 0));
    EXPECT_EQ(step->indexPath(), path(0, 1));
    // The row no longer shows that detail.
    EXPECT_EQ(list_->getNextIdIndexPathPairAndMoveSelectionInDirection(next, std::string("p1"), path(0, 1)), nullptr);
}

TEST_F(ListBaseTest, aOneSectionListWithoutTitleHasNoSectionHeader) {
    seed({participant("p1", "Ann", "Adams")});
    show();
    EXPECT_EQ(table()->numberOfSections(), 1);
    EXPECT_EQ(table()->heightForHeaderInSection(0), 0);
    // With a single row both directions answer it.
    auto only = uikit::NSIndexPath::indexPathForRow(0, 0);
    EXPECT_EQ(list_->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("p1"), only)->indexPath(), only);
    EXPECT_EQ(list_->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("p1"), only)->indexPath(), only);
}

// A refresh after the store changed builds new controllers over the objects
// the old ones held: the rows come back as the same objects rather than
// freed and made again.
TEST_F(ListBaseTest, aRefreshHandsBackTheObjectsTheReplacedControllerHeld) {
    seed({participant("p1", "Ann", "Adams", "A"), participant("p2", "Bob", "Brown", "B")});
    show([](TestParticipantsDataSource& source) { source.sectionKeyPath = std::string("sectionTitle"); });
    // Only the list holds the old controller and its objects.
    std::weak_ptr<coredata::FetchedResultsController> before = list_->fetchedResultsController();
    ASSERT_FALSE(before.expired());
    std::weak_ptr<foundation::Object> first = before.lock()->objectAtIndexPath({0, 0}).object();
    insert("token", "QVACoreDataSessionNote", {{{"itemId", foundation::Value("n1")}}});
    driver_.settle();
    list_->refreshFetchedResultsControllersAndTables();
    EXPECT_TRUE(before.expired()) << "the old controller is let go";
    const auto& after = list_->fetchedResultsController();
    ASSERT_TRUE(after);
    ASSERT_FALSE(first.expired());
    EXPECT_EQ(after->objectAtIndexPath({0, 0}).object(), first.lock());
    EXPECT_EQ(table()->numberOfSections(), 2);
}

// A refresh while the store shows what the controller fetched keeps it; any
// save, or a request that reads otherwise, fetches again.
TEST_F(ListBaseTest, aRefreshKeepsTheControllerOnlyWhileTheStoreAndItsRequestAreUnchanged) {
    seed({participant("p1", "Ann", "Adams"), participant("p2", "Bob", "Brown")});
    // Without change reports, only a refetch can show a save.
    show([](TestParticipantsDataSource& source) { source.dictionaryResults = true; });
    auto kept = list_->fetchedResultsController();
    list_->refreshFetchedResultsControllersAndTables();
    EXPECT_EQ(list_->fetchedResultsController(), kept);

    insert("token", "QVACoreDataParticipant", {participant("p3", "Cy", "Cole")});
    driver_.settle();
    list_->refreshFetchedResultsControllersAndTables();
    EXPECT_NE(list_->fetchedResultsController(), kept);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 3);

    // An unsaved change in the list's own context counts too.
    kept = list_->fetchedResultsController();
    auto context = list_->coreDataStack()->managedObjectContextMainQueue();
    auto row = coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataParticipant", *context);
    row->setValue(foundation::Value("p4"), "itemId");
    row->setValue(foundation::Value("Di Dean"), "fullName");
    list_->refreshFetchedResultsControllersAndTables();
    EXPECT_NE(list_->fetchedResultsController(), kept);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 4);
    context->deleteObject(row);
}

// --- Change reports ---

TEST_F(ListBaseTest, workerSavesArriveAsRowAndSectionChangesAndUpdatesRedrawThroughTheDelegate) {
    seed({participant("p1", "Ann", "Adams", "A"), participant("p2", "Bob", "Brown", "B"), participant("p3", "Cy", "Cole", "C")});
    show([](TestParticipantsDataSource& source) { source.sectionKeyPath = std::string("sectionTitle"); });
    auto& source = list_->source();
    auto cell = table()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, 1));

    // A rename: the same cell redrawn by the delegate with the new name.
    source.configured.clear();
    rename("p2", "Robert Brown");
    // (The worker's save and the main context's own save each report it.)
    ASSERT_FALSE(source.configured.empty());
    for (const auto& configured : source.configured) {
        EXPECT_EQ(configured.text, "Robert Brown");
        EXPECT_EQ(configured.section, 1);
        EXPECT_EQ(configured.controller, list_->fetchedResultsController().get());
    }
    EXPECT_EQ(table()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, 1)), cell);
    EXPECT_EQ(rowText(1, 0), "Robert Brown");
    EXPECT_EQ(source.additionalRefreshes, 1);

    // An insert: one faded insert at its place.
    insert("token", "QVACoreDataParticipant", {participant("p4", "Al", "Avery", "A")});
    driver_.settle();
    ASSERT_EQ(table()->lastUpdates().size(), 1u);
    EXPECT_EQ(table()->lastUpdates()[0].kind, Update::Kind::InsertRows);
    EXPECT_EQ(table()->lastUpdates()[0].indexPaths, std::vector<uikit::NSIndexPath>{uikit::NSIndexPath::indexPathForRow(1, 0)});
    EXPECT_EQ(table()->lastUpdates()[0].animation, uikit::UITableViewRowAnimation::Fade);
    EXPECT_EQ(rowText(0, 1), "Al Avery");

    // A delete of one row of two.
    remove("p1");
    ASSERT_EQ(table()->lastUpdates().size(), 1u);
    EXPECT_EQ(table()->lastUpdates()[0].kind, Update::Kind::DeleteRows);

    // The last row of a section: the section goes.
    remove("p3");
    bool sectionDeleted = false;
    for (const auto& update : table()->lastUpdates())
        sectionDeleted = sectionDeleted || (update.kind == Update::Kind::DeleteSections && update.sections == std::vector<int64_t>{2});
    EXPECT_TRUE(sectionDeleted);
    EXPECT_EQ(table()->numberOfSections(), 2);

    // A save of another entity reports nothing.
    source.configured.clear();
    insert("token", "QVACoreDataSessionNote", {{{"itemId", foundation::Value("n1")}}});
    driver_.settle();
    EXPECT_TRUE(source.configured.empty());
    EXPECT_EQ(table()->numberOfSections(), 2);
}

TEST_F(ListBaseTest, aSaveAfterAFilterChangeReachesTheNewControllerOnly) {
    seed({participant("p1", "Ann", "Adams"), participant("p2", "Bob", "Brown")});
    show();
    auto old = list_->fetchedResultsController();
    list_->filterCollectionBy({std::make_shared<ListFixedFilter>("Bob", "x", coredata::Predicate::withFormat("itemId == %@", "p2"))});
    driver_.settle();
    EXPECT_NE(list_->fetchedResultsController(), old);
    EXPECT_EQ(old->delegate(), nullptr);
    EXPECT_NO_THROW(rename("p2", "Robert Brown"));
    EXPECT_EQ(rowTexts(*table()), std::vector<std::string>{"Robert Brown"});
    EXPECT_NO_THROW(insert("token", "QVACoreDataParticipant", {participant("p5", "Eve", "Evans")}));
    driver_.settle();
    EXPECT_EQ(table()->numberOfRowsInSection(0), 1);
}

TEST_F(ListBaseTest, aDelegateAskingForDictionaryResultsGetsNoReports) {
    seed({participant("p1", "Ann", "Adams")});
    show([](TestParticipantsDataSource& source) {
        source.dictionaryResults = true;
        source.configuresCells = false;
    });
    EXPECT_EQ(list_->fetchedResultsController()->delegate(), nullptr);
    insert("token", "QVACoreDataParticipant", {participant("p2", "Bob", "Brown")});
    driver_.settle();
    EXPECT_EQ(table()->numberOfRowsInSection(0), 1);
}

// --- Analytics ---

TEST_F(ListBaseTest, trackingAListReportsItsDelegatesEventOrLogsItsAbsence) {
    AnalyticsUtils::initializeAnalytics();
    show([](TestParticipantsDataSource& source) { source.analyticsEventName = std::string("View participants"); });
    list_->trackAnalyticsEvent();
    auto events = AnalyticsUtils::queuedEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().name, "View participants");

    foundation::ScopedLogCapture log;
    list_->source().analyticsEventName.reset();
    list_->trackAnalyticsEvent();
    EXPECT_EQ(AnalyticsUtils::queuedEvents().size(), events.size());
    EXPECT_TRUE(log.contains("getAnalyticsEventName not implemented in list delegate: TestParticipantsDataSource"));
}

// --- The viewport over a large meeting ---

TEST_F(ListBaseTest, fifteenThousandParticipantsConfigureOnlyTheRowsInView) {
    std::vector<Row> rows;
    rows.reserve(15000);
    for (int i = 0; i < 15000; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "%05d", i);
        rows.push_back(participant(std::string("p") + id, "P", std::string("Last") + id));
    }
    seed(std::move(rows));
    show();
    auto& source = list_->source();
    const auto visible = table()->indexPathsForVisibleRows();
    ASSERT_FALSE(visible.empty());
    EXPECT_LT(visible.size(), 20u);
    EXPECT_EQ(source.configured.size(), visible.size());
    EXPECT_EQ(table()->numberOfRowsInSection(0), 15000);

    source.configured.clear();
    table()->scrollToRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(5000, 0), uikit::UITableViewScrollPosition::Top,
                                    false);
    driver_.settle();
    ASSERT_FALSE(source.configured.empty());
    EXPECT_LE(source.configured.size(), table()->indexPathsForVisibleRows().size());
    for (const auto& configured : source.configured) EXPECT_GE(configured.row, 5000);
    EXPECT_EQ(table()->indexPathsForVisibleRows().front().row, 5000);

    // An update of a row out of view configures nothing.
    source.configured.clear();
    EXPECT_NO_THROW(rename("p00003", "Renamed"));
    EXPECT_TRUE(source.configured.empty());

    auto dump = uikit::describe(*window_);
    EXPECT_NE(dump.find("P Last05000"), std::string::npos);
    EXPECT_NE(dump.find("15000"), std::string::npos);
    EXPECT_EQ(dump.find("P Last00003"), std::string::npos);
}

}  // namespace
