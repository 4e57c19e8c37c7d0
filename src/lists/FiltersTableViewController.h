// The filters screen: one row per filter of a list, showing its current
// choice, above a "Clear filters" row. It works on copies of the list's
// filters; the list takes them back only through the unwind "applyFiltersSegID"
// (its action reads `filtersArray`, where an empty array means no filter).
// A filter row pushes the values screen for that filter. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UITableViewController.h"

class FilterModel;

class FiltersTableViewController : public uikit::UITableViewController {
public:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;

    static constexpr const char* kTitle = "Filters";
    static constexpr const char* kCellIdentifier = "filterCellID";
    static constexpr const char* kSelectFilterSegue = "selectFilterSegID";
    static constexpr const char* kApplyFiltersSegue = "applyFiltersSegID";
    static constexpr const char* kUnwindToFiltersAction = "unwindToFiltersTVC:";
    static constexpr const char* kClearFiltersText = "Clear filters";
    static constexpr double kRowHeight = 44.0;
    static constexpr double kFontSize = 17.0;

    FiltersTableViewController();

    // Empty means that the list is to have no filter.
    const Filters& filtersArray() const { return filtersArray_; }
    void setFiltersArray(Filters filters) { filtersArray_ = std::move(filters); }

    // Every filter back at its default value; the table shows it.
    void clearFilters();
    // YES when every filter's choice reads as its default (and for no filters).
    bool defaultValuesSelected() const;
    // Back from the values screen: the chosen value shows.
    void unwindToFiltersTVC(uikit::UIStoryboardSegue& segue);

    void awakeFromNib() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "FiltersTableViewController"; }

private:
    // The section of the row whose cell sent a segue; none for another sender.
    std::optional<int64_t> sectionOfSender(const foundation::ObjectPtr& sender);

    Filters filtersArray_;
};

using FiltersTableViewControllerPtr = std::shared_ptr<FiltersTableViewController>;
