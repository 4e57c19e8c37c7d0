// One kind of content the home screen's search looks through (sessions,
// participants, organisations, ...): its section title, the entity fetched,
// its order and predicate, the result cell and the details screen a tapped
// result opens. Each search gives the entity a fresh fetched-results
// controller over the main-queue context; the results table shows its first
// (only) section. Subclasses give the abstract members; the base raises for
// them. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace coredata {
class FetchedResultsController;
}
namespace uikit {
struct NSIndexPath;
class UITableView;
class UITableViewCell;
class UIViewController;
}  // namespace uikit
class CoreDataStack;
struct SearchAdditionalDataSources;

class SearchEntity : public foundation::Object {
public:
    using StackPtr = std::shared_ptr<CoreDataStack>;
    using ControllerPtr = std::shared_ptr<coredata::FetchedResultsController>;
    using ViewControllerPtr = std::shared_ptr<uikit::UIViewController>;

    static constexpr double kParticipantRowHeight = 80.0;
    static constexpr double kStandardRowHeight = 54.0;
    static constexpr const char* kStandardNibName = "GlobalSearchStandardCell";
    static constexpr const char* kStandardCellIdentifier = "globalSearchStandardCellIdentifier";

    explicit SearchEntity(StackPtr coreDataStack);
    ~SearchEntity() override;

    // --- Given by each kind ---
    virtual std::string title() const;
    virtual std::string entityName() const;
    virtual std::vector<coredata::SortDescriptor> sortDescriptors() const;
    virtual coredata::PredicatePtr searchPredicateForSearchString(const std::string& searchString) const;
    // Fills a dequeued cell for one stored result.
    virtual void configureCell(uikit::UITableViewCell& cell, uikit::UITableView& tableView,
                               const ViewControllerPtr& controller, const foundation::Value& object,
                               const SearchAdditionalDataSources& additionalDataSources);
    virtual double rowHeightForCoreDataObject(const foundation::Value& object, uikit::UITableView& tableView,
                                              const ViewControllerPtr& controller,
                                              const SearchAdditionalDataSources& additionalDataSources);
    // A tap on a result row: the row's object, when it still exists, opens
    // its details (swiping on when the section has more than one result).
    void navigateToDetailsFromController(const ViewControllerPtr& controller, const uikit::NSIndexPath& indexPath);
    virtual void navigateToDetailsFromController(const ViewControllerPtr& controller, const foundation::Value& object,
                                                 const uikit::NSIndexPath& indexPath, bool isSwipeEnabled);
    // Heights kept per result are dropped: what the rows show from the
    // data sources (rooms, venues) may have changed. Nothing kept here.
    virtual void forgetRowHeights() {}
    // Naming the standard cell's nib registers it.
    virtual std::string nibName() const;
    virtual std::string cellIdentifier() const { return kStandardCellIdentifier; }

    // --- Shared ---
    size_t searchResultsCount() const;
    // The result at the path's row, handed to the cell and height members above.
    void configureCell(uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                       const ViewControllerPtr& controller, uikit::UITableView& tableView,
                       const SearchAdditionalDataSources& additionalDataSources);
    double heightForRowAtIndexPath(const uikit::NSIndexPath& indexPath, uikit::UITableView& tableView,
                                   const ViewControllerPtr& controller,
                                   const SearchAdditionalDataSources& additionalDataSources);
    // Null without a stack or its main-queue context; a failed fetch is
    // logged and the controller returned all the same.
    ControllerPtr newSearchFetchedResultsControllerForSearchString(const std::string& searchString,
                                                                   const StackPtr& coreDataStack) const;
    // Every word of the text (split on blanks and hyphens) within the property.
    coredata::PredicatePtr searchPredicateForSearchString(const std::string& searchString,
                                                          const std::string& propertyName) const;

    const StackPtr& coreDataStack() const { return coreDataStack_; }
    void setCoreDataStack(StackPtr stack) { coreDataStack_ = std::move(stack); }
    const ControllerPtr& searchFetchedResultsController() const { return searchFetchedResultsController_; }
    void setSearchFetchedResultsController(ControllerPtr controller);

    std::string className() const override { return "SearchEntity"; }

protected:
    // The standard cell's two labels; nothing for another kind of cell.
    static void setStandardCellTexts(uikit::UITableViewCell& cell, const std::optional<std::string>& title,
                                     const std::optional<std::string>& subtitle);
    // Hands a details screen its inputs (the home screen as the parent it
    // swipes through) and pushes it, animated, on the home screen's
    // navigation controller. Nothing when the scene is missing.
    static void pushDetailsScreen(const ViewControllerPtr& controller, const ViewControllerPtr& details,
                                  const std::optional<std::string>& selectionPropertyId, const std::string& entityName,
                                  const uikit::NSIndexPath& indexPath, bool isSwipeEnabled);

private:
    StackPtr coreDataStack_;
    ControllerPtr searchFetchedResultsController_;
};

using SearchEntityPtr = std::shared_ptr<SearchEntity>;
