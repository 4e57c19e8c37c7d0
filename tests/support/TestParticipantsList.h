// A fetched-results list scene of the tests' own: every participant of the
// current meeting, by last name, optionally in sections, with a search bar of
// two scopes, the country filter, and the filters screen opened from the
// filter header and applied back through filterCollectionBy. Its data source
// records what it is asked, so tests can see which rows were configured.
// Header-only: the support library links no app code, the binaries that
// include it do.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/FetchedResultsController.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/SortDescriptor.h"
#include "lists/CountryFilterModel.h"
#include "lists/FilterScreenScenes.h"
#include "lists/FiltersTableViewController.h"
#include "lists/ListBaseViewController.h"
#include "lists/ListsDataSourceProtocol.h"
#include "lists/SearchScopeModel.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace TestParticipantsList {

inline constexpr const char* kSceneIdentifier = "testParticipantsListIdentifier";
inline constexpr const char* kCellIdentifier = "participantCellID";
inline constexpr const char* kFiltersSegue = "filtersSegID";
inline constexpr const char* kEntityName = "QVACoreDataParticipant";
inline constexpr double kSearchBarHeight = 44;

}  // namespace TestParticipantsList

class TestParticipantsDataSource : public ListsDataSourceProtocol {
public:
    // What the list asks; tests change these before the list loads.
    std::string entity = TestParticipantsList::kEntityName;
    Text sectionKeyPath;
    bool configuresCells = true;
    bool dictionaryResults = false;
    Text analyticsEventName;
    std::optional<SortDescriptors> searchOrder;
    std::optional<PredicatePtr> predicateForSearch;
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filters =
        std::vector<std::shared_ptr<FilterModel>>{std::make_shared<CountryFilterModel>()};

    // What it was asked: each configured row with the text it got.
    struct Configured {
        int64_t section, row;
        std::string text;
        coredata::FetchedResultsController* controller;
    };
    std::vector<Configured> configured;
    int additionalRefreshes = 0;

    std::string entityName() override { return entity; }
    SortDescriptors sortDescriptors() override {
        SortDescriptors order;
        if (sectionKeyPath) order.emplace_back(*sectionKeyPath);
        order.emplace_back("lastName", true, coredata::SortComparator::LocalizedStandardCompare);
        order.emplace_back("itemId");
        return order;
    }
    Text sectionNameKeyPath() override { return sectionKeyPath; }
    std::string cellIdentifier() override { return TestParticipantsList::kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override {
        return {SearchScopeModel::initWithPropertyName(std::string("organizationName"), std::string("Organization")),
                SearchScopeModel::initWithPropertyName(std::string("fullName"), std::string("Name"))};
    }
    Text searchHintText() override { return std::string("Search participants"); }
    std::optional<SortDescriptors> sortDescriptorsForSearch() override { return searchOrder; }
    std::optional<PredicatePtr> fetchPredicateForSearch() override { return predicateForSearch; }
    std::optional<std::vector<std::shared_ptr<FilterModel>>> filtersCollection() override { return filters; }
    Text getAnalyticsEventName() override { return analyticsEventName; }
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override {
        return std::vector<std::string>{entity};
    }

    bool implementsFetchedResultControllerConfigureCell() const override { return configuresCells; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController&) override {
        auto object = controller.objectAtIndexPath(
            {static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)});
        std::string text = coredata::valueForKey(object, "fullName").stringValue();
        cell.textLabel()->setText(text);
        configured.push_back({indexPath.section, indexPath.row, text, &controller});
    }
    bool implementsRefreshAdditionalDataSource() const override { return true; }
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>&,
                                                     LiteListBaseViewController&) override {
        ++additionalRefreshes;
    }
    bool implementsConfigureFetchRequestToReturnDictionaryResults() const override { return dictionaryResults; }
    void configureFetchRequestToReturnDictionaryResults(coredata::FetchRequest& request) override {
        request.setResultType(coredata::FetchRequestResultType::Dictionary);
    }
    Text getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath,
                                 coredata::FetchedResultsController& controller) override {
        auto object = controller.objectAtIndexPath(
            {static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)});
        return coredata::valueForKey(object, "itemId").stringValue();
    }
};

class TestParticipantsListViewController : public ListBaseViewController {
public:
    TestParticipantsListViewController() { setListDelegate(std::make_shared<TestParticipantsDataSource>()); }

    static Text storyboardIdentifier() { return std::string(TestParticipantsList::kSceneIdentifier); }

    TestParticipantsDataSource& source() { return static_cast<TestParticipantsDataSource&>(*listDelegate()); }
    // As the concrete lists do: the delegate's predicates and filters.
    std::shared_ptr<const coredata::Predicate> fetchPredicate() override {
        return source().fetchPredicate().value_or(coredata::Predicate::truePredicate());
    }
    std::shared_ptr<const coredata::Predicate> fetchPredicateForSearch() override {
        return source().fetchPredicateForSearch().value_or(coredata::Predicate::truePredicate());
    }
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override {
        return source().entitiesArrayToObserveForFilteringUIUpdates().value_or(std::vector<std::string>{});
    }
    Filters getFilterCollection() override { return source().filters.value_or(Filters{}); }
    int headerTaps = 0;

    // A search bar over the list's table.
    void loadView() override {
        using TestParticipantsList::kSearchBarHeight;
        auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 375, 667));
        auto bar = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, 375, kSearchBarHeight));
        bar->setOutletName("searchBar");
        auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, kSearchBarHeight, 375, 667 - kSearchBarHeight));
        table->setOutletName("tableView");
        table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
        table->registerClass<uikit::UITableViewCell>(TestParticipantsList::kCellIdentifier);
        root->addSubview(bar);
        root->addSubview(table);
        setView(root);
        setTableView(table);
        table_ = table;
        auto me = std::dynamic_pointer_cast<TestParticipantsListViewController>(shared_from_this());
        auto search = uikit::UISearchDisplayController::create(bar, me);
        search->setDelegate(me);
        search->setSearchResultsDataSource(me);
        search->setSearchResultsDelegate(me);
    }
    void viewDidLoad() override {
        ListBaseViewController::viewDidLoad();
        auto me = std::dynamic_pointer_cast<TestParticipantsListViewController>(shared_from_this());
        table_->setDataSource(me);
        table_->setDelegate(me);
        std::weak_ptr<TestParticipantsListViewController> weak = me;
        addUnwindAction(FilterScreenScenes::kListApplyFiltersAction, [weak](uikit::UIStoryboardSegue& segue) {
            auto list = weak.lock();
            auto filters = std::dynamic_pointer_cast<FiltersTableViewController>(segue.sourceViewController());
            if (list && filters) list->filterCollectionBy(filters->filtersArray());
        });
    }
    void headerFilterButtonPressed(const foundation::ObjectPtr& sender) override {
        ++headerTaps;
        if (storyboard()) performSegueWithIdentifier(TestParticipantsList::kFiltersSegue, sender);
    }
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override {
        ListBaseViewController::prepareForSegue(segue, sender);
        if (segue.identifier() != TestParticipantsList::kFiltersSegue) return;
        auto destination = segue.destinationViewController();
        if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
            destination = navigation->topViewController();
        if (auto filters = std::dynamic_pointer_cast<FiltersTableViewController>(destination))
            prepareForFiltersController(*filters);
    }

    std::string className() const override { return "TestParticipantsListViewController"; }

private:
    // The view keeps the table; the list base holds it weakly.
    std::shared_ptr<uikit::UITableView> table_;
};

namespace TestParticipantsList {

// The list scene, its segue to the filters screen and the filters screens.
inline void registerScene(uikit::UIStoryboard& storyboard) {
    if (!storyboard.hasScene(FilterScreenScenes::kFiltersNavigationScene)) FilterScreenScenes::addScenes(storyboard);
    storyboard.addScene(kSceneIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<TestParticipantsListViewController>(); });
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = kFiltersSegue;
    segue.kind = uikit::UIStoryboardSegueKind::Modal;
    segue.destination = FilterScreenScenes::kFiltersNavigationScene;
    storyboard.addSegue(kSceneIdentifier, segue);
}

}  // namespace TestParticipantsList
