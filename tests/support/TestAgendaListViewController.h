// The tests' multi-entity list scene: a programme-shaped list over the user's
// agenda roles (selections, invitations, responsibilities, personal entries)
// and then the official sessions, one row per session id, ordered by start,
// keyword and title and split into days. Its data source is a separate object
// (as the concrete lists pair a screen with a delegate) that tests reshape
// before the view loads. Shared by the list tests, the app-mode tools test
// and the lists benchmark; header-only, for binaries that link the app.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "lists/ListSelectionModel.h"
#include "lists/ListsDataSourceProtocol.h"
#include "lists/MultipleEntitiesListBaseViewController.h"
#include "lists/SearchScopeModel.h"
#include "lists/SessionContributorsSearchScopeModel.h"
#include "model/IEntityModel.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVASession.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIView.h"

class TestAgendaListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kCellIdentifier = "testAgendaCell";
    static constexpr const char* kSearchHint = "Search sessions";

    // The entities in the programme's order of precedence.
    std::vector<std::shared_ptr<ListSelectionModel>> models = programmeModels();
    // Observed entities; none (the operation "not implemented") by default.
    std::optional<std::vector<std::string>> observed;
    // By title, and by the contributors' names (the last scope, where a search begins).
    std::vector<std::shared_ptr<SearchScopeModel>> scopes = {SearchScopeModel::initWithPropertyName("title", "Title"),
                                                             std::make_shared<SessionContributorsSearchScopeModel>()};
    int additionalDataRefreshes = 0;

    static std::shared_ptr<ListSelectionModel> model(const std::string& entity, const char* modelClass,
                                                     coredata::PredicatePtr additional = nullptr) {
        auto selection = std::make_shared<ListSelectionModel>();
        selection->setCoreDataEntityName(entity);
        selection->setModelEntityClass(ModelClass::named(modelClass));
        selection->setCoreDataSortDescriptors(FetchRequestUtils::getSimpleSessionsListSortDescriptos());
        selection->setSortDescriptorsForSearch(FetchRequestUtils::getSimpleSessionsListSortDescriptos());
        selection->setAditionalPredicateForSelection(std::move(additional));
        return selection;
    }
    static std::vector<std::shared_ptr<ListSelectionModel>> programmeModels() {
        registerModelClasses();
        auto sessions = model("QVACoreDataSession", QVASession::kClassName);
        sessions->setShouldFetchParentEntityOnly(true);
        return {model("QVACoreDataAgendaSelection", QVAAgendaSelections::kClassName),
                model("QVACoreDataAgendaInvitation", QVAAgendaInvitation::kClassName),
                model("QVACoreDataAgendaResponsability", QVAAgendaResponsibilities::kClassName),
                model("QVACoreDataPersonalEntry", QVAPersonalEntry::kClassName), sessions};
    }

    std::string entityName() override { return "QVACoreDataBaseSession"; }
    SortDescriptors sortDescriptors() override { return FetchRequestUtils::getSimpleSessionsListSortDescriptos(); }
    Text sectionNameKeyPath() override { return std::string("startDateString"); }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return scopes; }
    std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> listSelectionModelEntities() override {
        return models;
    }
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override { return observed; }
    Text searchHintText() override { return std::string(kSearchHint); }
    bool implementsRefreshAdditionalDataSource() const override { return true; }
    void refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>&,
                                                     LiteListBaseViewController&) override {
        ++additionalDataRefreshes;
    }
    bool implementsModelObjectConfigureCell() const override { return true; }
    void modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool, BaseViewController&) override {
        auto* session = dynamic_cast<QVASession*>(&object);
        cell.textLabel()->setText(session ? session->title() : std::nullopt);
    }
};

class TestAgendaListViewController : public MultipleEntitiesListBaseViewController {
public:
    static constexpr const char* kSceneIdentifier = "testAgendaListIdentifier";

    // The mutual hooks, as a concrete list would answer them.
    std::optional<std::string> sectionKeyPath = std::string("startDateString");
    SortDescriptors order = FetchRequestUtils::getSimpleSessionsListSortDescriptos();
    coredata::PredicatePtr listPredicate = coredata::Predicate::truePredicate();

    TestAgendaListViewController() {
        setTitle(std::string("Agenda"));
        setListDelegate(std::make_shared<TestAgendaListDelegate>());
    }

    static void addScene(uikit::UIStoryboard& storyboard) {
        storyboard.addScene(kSceneIdentifier,
                            [](uikit::UIStoryboard&) { return std::make_shared<TestAgendaListViewController>(); });
    }

    TestAgendaListDelegate& agendaDelegate() { return static_cast<TestAgendaListDelegate&>(*listDelegate()); }

    // The bar above the table, the search display controller over both.
    void loadView() override {
        const graphics::Rect frame(0, 0, 375, 667);
        auto root = std::make_shared<uikit::UIView>(frame);
        bar_ = std::make_shared<uikit::UISearchBar>(
            graphics::Rect(0, 0, frame.size.width, uikit::UISearchBar::kBarHeight));
        root->addSubview(bar_);
        auto table = std::make_shared<uikit::UITableView>(graphics::Rect(
            0, uikit::UISearchBar::kBarHeight, frame.size.width, frame.size.height - uikit::UISearchBar::kBarHeight));
        table->registerClass<uikit::UITableViewCell>(TestAgendaListDelegate::kCellIdentifier);
        root->addSubview(table);
        table_ = table;
        setView(root);
        setTableView(table);
        uikit::UISearchDisplayController::create(bar_,
                                                 std::static_pointer_cast<uikit::UIViewController>(shared_from_this()));
    }
    void viewDidLoad() override {
        MultipleEntitiesListBaseViewController::viewDidLoad();
        auto self = std::static_pointer_cast<TestAgendaListViewController>(shared_from_this());
        table_->setDataSource(self);
        table_->setDelegate(self);
        const auto& search = searchDisplayController();
        search->setDelegate(self);
        search->setSearchResultsDataSource(self);
        search->setSearchResultsDelegate(self);
        reloadDataSourceAndTable();
    }

    SelectionModels listSelectionModelEntities() override {
        return listDelegate()->listSelectionModelEntities().value_or(SelectionModels{});
    }
    SortDescriptors mutualSortDescriptors() override { return order; }
    std::optional<std::string> mutualSectionNameKeyPath() override { return sectionKeyPath; }
    coredata::PredicatePtr mutualFetchPredicate() override { return listPredicate; }
    std::string cellIdentifier() override { return listDelegate()->cellIdentifier(); }

    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                             const uikit::NSIndexPath& indexPath) override {
        auto cell = MultipleEntitiesListBaseViewController::tableViewCellForRowAtIndexPath(table, indexPath);
        auto object = selectedObjectForTableView(table, indexPath);
        if (cell && object) listDelegate()->modelObject(*object, *cell, &table != table_.get(), *this);
        return cell;
    }

    std::string className() const override { return "TestAgendaListViewController"; }

private:
    std::shared_ptr<uikit::UISearchBar> bar_;
    // Kept here as well: the base holds its table weakly.
    std::shared_ptr<uikit::UITableView> table_;
};
