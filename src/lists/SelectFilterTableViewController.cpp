#include "lists/SelectFilterTableViewController.h"

#include "coredata/Predicate.h"
#include "lists/FilterModel.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {
constexpr double kSearchBarHeight = 44.0;
}

SelectFilterTableViewController::SelectFilterTableViewController() = default;

std::shared_ptr<CoreDataStack> SelectFilterTableViewController::coreDataStack() const {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !event) return nullptr;
    return StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(account->authenticationCode(),
                                                                               event->itemId());
}

void SelectFilterTableViewController::viewDidLoad() {
    uikit::UITableViewController::viewDidLoad();
    auto self = std::static_pointer_cast<SelectFilterTableViewController>(shared_from_this());
    auto table = tableView();
    searchBar_ = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, table->bounds().size.width, kSearchBarHeight));
    auto search = uikit::UISearchDisplayController::create(searchBar_, self);
    search->answerWith(self);
    if (filterModel_ && !filterModel_->isSearchable()) {
        // Out of the table's header too, which would widen it again: no
        // room is left above the rows.
        searchBar_->setHidden(true);
        searchBar_->setFrame({});
    } else {
        table->setTableHeaderView(searchBar_);
    }

    if (filterModel_) {
        setTitle(filterModel_->displayName());
        possibleValues_ = filterModel_->getPossibleValuesWithCoreDataStack(coreDataStack());
    }
    searchResultsDataArray_.clear();
}

bool SelectFilterTableViewController::isResultsTable(const uikit::UITableView& tableView) const {
    const auto& search = searchDisplayController();
    return search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &tableView;
}

const foundation::Value::Array& SelectFilterTableViewController::valuesFor(const uikit::UITableView& tableView) const {
    return isResultsTable(tableView) ? searchResultsDataArray_ : possibleValues_;
}

void SelectFilterTableViewController::searchFiltersByText(const std::string& text) {
    searchResultsDataArray_.clear();
    auto predicate = coredata::Predicate::withFormat("SELF.description contains[c] %@", text);
    for (const auto& value : possibleValues_)
        if (predicate->evaluateWithObject(value)) searchResultsDataArray_.push_back(value);
}

bool SelectFilterTableViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController& controller, const std::optional<std::string>& searchString) {
    (void)controller;
    searchFiltersByText(searchString.value_or(std::string()));
    return true;
}

std::optional<foundation::Value> SelectFilterTableViewController::valueOfSender(const foundation::ObjectPtr& sender) {
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    if (!cell) return std::nullopt;
    const auto& search = searchDisplayController();
    if (search && search->isSearchResultsTableViewShown()) {
        const auto& results = search->searchResultsTableView();
        if (auto indexPath = results->indexPathForCell(*cell)) {
            if (indexPath->row < 0 || indexPath->row >= static_cast<int64_t>(searchResultsDataArray_.size()))
                return std::nullopt;
            return searchResultsDataArray_[static_cast<size_t>(indexPath->row)];
        }
    }
    auto indexPath = tableView()->indexPathForCell(*cell);
    if (!indexPath || indexPath->row < 0 || indexPath->row >= static_cast<int64_t>(possibleValues_.size()))
        return std::nullopt;
    return possibleValues_[static_cast<size_t>(indexPath->row)];
}

void SelectFilterTableViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                      const foundation::ObjectPtr& sender) {
    (void)segue;
    if (!filterModel_) return;
    if (auto value = valueOfSender(sender)) filterModel_->setSelectedValue(std::move(*value));
}

int64_t SelectFilterTableViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)section;
    return static_cast<int64_t>(valuesFor(tableView).size());
}

uikit::UITableViewCellPtr SelectFilterTableViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    // The results table has no cells of its own: they come from the screen's.
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell && &tableView != this->tableView().get()) cell = this->tableView()->dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    const auto& value = valuesFor(tableView).at(static_cast<size_t>(indexPath.row));
    const std::string text = value.description();
    cell->textLabel()->setFont(uikit::UIFont::systemFontOfSize(kFontSize));
    cell->textLabel()->setText(text);
    const bool chosen = filterModel_ && filterModel_->selectedValue().description() == text;
    cell->setAccessoryType(chosen ? uikit::UITableViewCellAccessoryType::Checkmark
                                  : uikit::UITableViewCellAccessoryType::None);
    return cell;
}

std::optional<double> SelectFilterTableViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return kRowHeight;
}

void SelectFilterTableViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                       const uikit::NSIndexPath& indexPath) {
    // A row of the screen's own table leaves by its cell's segue; the results
    // table lies outside the screen's view, so its rows leave from here.
    if (!isResultsTable(tableView)) return;
    performSegueWithIdentifier(kUnwindToFiltersSegue, tableView.cellForRowAtIndexPath(indexPath));
}
