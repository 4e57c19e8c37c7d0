// The home screen's search over the whole meeting: one entity per kind of
// content, in the results table's section order, each given a fresh
// fetched-results controller for the text typed. The manager is every
// controller's delegate and applies their change reports to the results
// table, section i being entity i; a changed result is redrawn in place
// through its entity with the home screen's data sources. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coredata/FetchedResultsController.h"
#include "foundation/Object.h"

namespace uikit {
class UITableView;
class UIViewController;
}  // namespace uikit
class CoreDataStack;
class SearchEntity;
struct SearchAdditionalDataSources;

class GlobalSearchManager : public foundation::Object, public coredata::FetchedResultsControllerDelegate {
public:
    using StackPtr = std::shared_ptr<CoreDataStack>;
    using TablePtr = std::shared_ptr<uikit::UITableView>;
    using DataSourcesProvider = std::function<SearchAdditionalDataSources()>;

    // The kinds the shell registered, in section order, their cells
    // registered with the table.
    static std::shared_ptr<GlobalSearchManager> initWithCoreDataStack(StackPtr coreDataStack, TablePtr searchTableView);
    GlobalSearchManager() = default;
    ~GlobalSearchManager() override;

    // Appends an entity: it becomes the last section.
    void registerSearchEntity(std::shared_ptr<SearchEntity> entity);
    // Each entity's cell nib under its reuse identifier.
    void registerCellsWithTableView(uikit::UITableView& tableView);
    // Below two characters once trimmed, nothing happens and the previous
    // results stay; otherwise every entity searches the text as typed.
    void searchForString(const std::string& searchString);
    void cancelSearch();
    // The data sources the rows read have changed: no kept row height stays.
    void forgetRowHeights();
    // The section of the entity whose controller this is, or -1.
    int64_t getFRCIndex(const coredata::FetchedResultsController* controller) const;

    const std::vector<std::shared_ptr<SearchEntity>>& searchEntitiesArray() const { return searchEntitiesArray_; }
    const StackPtr& coreDataStack() const { return coreDataStack_; }
    const TablePtr& searchTableView() const { return searchTableView_; }
    // The search display makes its results table anew for each search after
    // the first: the results and their change reports go to that one.
    void setSearchTableView(TablePtr tableView);

    // Where a changed result's row is redrawn from: the screen serving the
    // results table and its data sources at the time of the change.
    void setHomeController(std::weak_ptr<uikit::UIViewController> controller) { homeController_ = std::move(controller); }
    void setAdditionalDataSourcesProvider(DataSourcesProvider provider) { dataSourcesProvider_ = std::move(provider); }

    // The controllers' change reports.
    void controllerWillChangeContent(coredata::FetchedResultsController& controller) override;
    void controller(coredata::FetchedResultsController& controller, const foundation::Value& object,
                    std::optional<coredata::IndexPath> indexPath, coredata::FetchedResultsChangeType type,
                    std::optional<coredata::IndexPath> newIndexPath) override;
    void controllerDidChangeContent(coredata::FetchedResultsController& controller) override;
    using coredata::FetchedResultsControllerDelegate::controller;

    std::string className() const override { return "GlobalSearchManager"; }

private:
    void redrawRow(SearchEntity& entity, int64_t section, const std::optional<coredata::IndexPath>& indexPath,
                   const std::optional<coredata::IndexPath>& newIndexPath);

    std::vector<std::shared_ptr<SearchEntity>> searchEntitiesArray_;
    StackPtr coreDataStack_;
    TablePtr searchTableView_;
    std::weak_ptr<uikit::UIViewController> homeController_;
    DataSourcesProvider dataSourcesProvider_;
};
