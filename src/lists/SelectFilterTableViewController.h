// The values screen: the possible values of one filter, the chosen one
// checked (by equal description text, so two values that read alike are
// both checked), searchable by text when the filter allows it. Leaving by a
// value row (the unwind to the filters screen) makes that row's value the
// filter's choice; while searching, the row is one of the search results.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Value.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableViewController.h"

class CoreDataStack;
class FilterModel;

class SelectFilterTableViewController : public uikit::UITableViewController, public uikit::UISearchDisplayDelegate {
public:
    static constexpr const char* kCellIdentifier = "selectFilterSegID";
    // The segue back to the filters screen, started by a value row.
    static constexpr const char* kUnwindToFiltersSegue = "unwindToFiltersTVC";
    static constexpr double kRowHeight = 44.0;
    static constexpr double kFontSize = 17.0;

    SelectFilterTableViewController();

    // The filter being chosen (the filters screen's own copy).
    const std::shared_ptr<FilterModel>& filterModel() const { return filterModel_; }
    void setFilterModel(std::shared_ptr<FilterModel> filter) { filterModel_ = std::move(filter); }
    const foundation::Value::Array& possibleValues() const { return possibleValues_; }
    const foundation::Value::Array& searchResultsDataArray() const { return searchResultsDataArray_; }
    // The search bar over the values (hidden for a filter that is not searchable).
    const std::shared_ptr<uikit::UISearchBar>& searchBar() const { return searchBar_; }

    // The store of the current account and meeting; null when none is open.
    std::shared_ptr<CoreDataStack> coreDataStack() const;
    // The values whose description contains the text, ignoring case.
    void searchFiltersByText(const std::string& text);

    void viewDidLoad() override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    bool searchDisplayControllerShouldReloadTableForSearchString(uikit::UISearchDisplayController& controller,
                                                                const std::optional<std::string>& searchString) override;

    std::string className() const override { return "SelectFilterTableViewController"; }

private:
    bool isResultsTable(const uikit::UITableView& tableView) const;
    const foundation::Value::Array& valuesFor(const uikit::UITableView& tableView) const;
    // The value at the row whose cell sent a segue: from the search results
    // when the cell is theirs.
    std::optional<foundation::Value> valueOfSender(const foundation::ObjectPtr& sender);

    std::shared_ptr<FilterModel> filterModel_;
    foundation::Value::Array possibleValues_;
    foundation::Value::Array searchResultsDataArray_;
    std::shared_ptr<uikit::UISearchBar> searchBar_;
};

using SelectFilterTableViewControllerPtr = std::shared_ptr<SelectFilterTableViewController>;
