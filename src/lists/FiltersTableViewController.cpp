#include "lists/FiltersTableViewController.h"

#include "Utils/Utils.h"
#include "lists/FilterModel.h"
#include "lists/SelectFilterTableViewController.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

FiltersTableViewController::FiltersTableViewController() {
    addUnwindAction(kUnwindToFiltersAction, [this](uikit::UIStoryboardSegue& segue) { unwindToFiltersTVC(segue); });
}

void FiltersTableViewController::awakeFromNib() {
    uikit::UITableViewController::awakeFromNib();
    setTitle(std::string(kTitle));
}

void FiltersTableViewController::viewDidLoad() {
    uikit::UITableViewController::viewDidLoad();
    // Nothing insets a table for the bars here: the rows start below them.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
}

void FiltersTableViewController::viewDidAppear(bool animated) {
    uikit::UITableViewController::viewDidAppear(animated);
    // Taps outside the popover close it rather than reach the list behind.
    if (Utils::isIOS8OrMore())
        if (auto popover = presentingPopoverController()) popover->setPassthroughViews({});
}

void FiltersTableViewController::clearFilters() {
    for (const auto& filter : filtersArray_) filter->setSelectedValue(foundation::Value(filter->defaultValue()));
    tableView()->reloadData();
}

bool FiltersTableViewController::defaultValuesSelected() const {
    for (const auto& filter : filtersArray_)
        if (filter->selectedValue().description() != filter->defaultValue())
            return false;
    return true;
}

void FiltersTableViewController::unwindToFiltersTVC(uikit::UIStoryboardSegue& segue) {
    (void)segue;
    tableView()->reloadData();
}

std::optional<int64_t> FiltersTableViewController::sectionOfSender(const foundation::ObjectPtr& sender) {
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    if (!cell) return std::nullopt;
    auto indexPath = tableView()->indexPathForCell(*cell);
    if (!indexPath) return std::nullopt;
    return indexPath->section;
}

bool FiltersTableViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                  const foundation::ObjectPtr& sender) {
    if (identifier == kSelectFilterSegue && sectionOfSender(sender) == 0) {
        // "Clear filters": the list drops every filter, without a detour
        // through the values screen.
        filtersArray_.clear();
        performSegueWithIdentifier(kApplyFiltersSegue, sender);
        return false;
    }
    // A list whose filters all sit at their defaults shows as an unfiltered one.
    if (identifier == kApplyFiltersSegue && defaultValuesSelected()) filtersArray_.clear();
    return true;
}

void FiltersTableViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    if (segue.identifier() != kSelectFilterSegue) return;
    auto values = std::dynamic_pointer_cast<SelectFilterTableViewController>(segue.destinationViewController());
    auto section = sectionOfSender(sender);
    if (!values || !section || *section < 1 || *section > static_cast<int64_t>(filtersArray_.size())) return;
    values->setFilterModel(filtersArray_[static_cast<size_t>(*section - 1)]);
}

int64_t FiltersTableViewController::numberOfSectionsInTableView(uikit::UITableView& tableView) {
    (void)tableView;
    return 1 + static_cast<int64_t>(filtersArray_.size());
}

int64_t FiltersTableViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)tableView, (void)section;
    return 1;
}

uikit::UITableViewCellPtr FiltersTableViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                      const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    const auto& label = cell->textLabel();
    label->setFont(uikit::UIFont::systemFontOfSize(kFontSize));
    if (indexPath.section == 0) {
        label->setText(std::string(kClearFiltersText));
        label->setTextAlignment(uikit::NSTextAlignment::Center);
        cell->setAccessoryType(uikit::UITableViewCellAccessoryType::None);
    } else {
        const auto& filter = filtersArray_.at(static_cast<size_t>(indexPath.section - 1));
        label->setText(filter->selectedValue().description());
        label->setTextAlignment(uikit::NSTextAlignment::Left);
        cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    }
    return cell;
}

std::optional<std::string> FiltersTableViewController::tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                       int64_t section) {
    (void)tableView;
    if (section < 1 || section > static_cast<int64_t>(filtersArray_.size())) return std::nullopt;
    return filtersArray_[static_cast<size_t>(section - 1)]->displayName();
}

std::optional<double> FiltersTableViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                   const uikit::NSIndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return kRowHeight;
}
