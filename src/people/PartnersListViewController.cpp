#include "people/PartnersListViewController.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManagerRefresh.h"
#include "app/AppDelegate.h"
#include "app/AppStoryboards.h"
#include "app/EventsSplitViewController.h"
#include "app/MoreScenes.h"
#include "coredata/FetchRequest.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/StringUtils.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/IdIndexPair.h"
#include "lists/RowRing.h"
#include "model/QVACoreDataPartner.h"
#include "people/PartnerDetailsViewController.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {


std::optional<std::string> partnerRowText(const foundation::Value& row, const char* key) {
    const foundation::Value value = coredata::valueForKey(row, key);
    if (value.isNull()) return std::nullopt;
    if (const auto* text = value.string()) return *text;
    return value.description();
}

std::vector<coredata::SortDescriptor> partnersByCommonName() {
    return {coredata::SortDescriptor("commonName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

}  // namespace

void PartnersListViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<PartnersListViewController>(); });
    PartnerDetailsViewController::addScene(storyboard);
    MoreScenes::addDestination(storyboard, kStoryboardIdentifier, kDetailsSegue,
                               PartnerDetailsViewController::kStoryboardIdentifier,
                               storyboard.name() == AppStoryboards::kPadStoryboardName);
}

PartnersListViewController::PartnersListViewController() { setIsPullToRefreshEnabled(true); }

PartnersListViewController::~PartnersListViewController() {
    if (const auto& search = searchDisplayController()) {
        search->forgetDelegates();
    }
}

const std::vector<std::string>& PartnersListViewController::topCategories() {
    static const std::vector<std::string> categories{"Strategic Partner", "Strategic Foundation Partner",
                                                     "Strategic Technology Partner"};
    return categories;
}

bool PartnersListViewController::engagementTypeOrderedBefore(const std::string& a, const std::string& b) {
    const auto& top = topCategories();
    const auto ia = std::find(top.begin(), top.end(), a);
    const auto ib = std::find(top.begin(), top.end(), b);
    if (ia != top.end() && ib != top.end()) return ia < ib;
    if (ia != top.end()) return true;
    if (ib != top.end()) return false;
    return a < b;
}

void PartnersListViewController::loadView() {
    auto built = loadSearchableTable({320, 480});
    mainTable_ = std::move(built.table);
    searchBar_ = std::move(built.searchBar);
}

void PartnersListViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    setTitle(std::string(kTitle));
    searchBar_->setPlaceholder(std::string(kSearchPlaceholder));
    initDataSource();
    mainTable_->reloadData();
    AnalyticsUtils::trackEventWithName(kAnalyticsEvent);
}

// --- The rows ---

PartnersListViewController::Rows PartnersListViewController::fetchPartners(
    const std::shared_ptr<const coredata::Predicate>& predicate, bool asDictionaries) const {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto entity = EntityClass::named(QVACoreDataPartner::kEntityName);
    if (!context || !entity) return {};
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(entity, predicate, context);
    if (!request) return {};
    request->setSortDescriptors(partnersByCommonName());
    if (asDictionaries) request->setResultType(coredata::FetchRequestResultType::Dictionary);
    return storage.executeFetchRequestAndWait(request, context);
}

void PartnersListViewController::initDataSource() {
    sectionTitles_.clear();
    sections_.clear();
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto entity = EntityClass::named(QVACoreDataPartner::kEntityName);
    if (!context || !entity) return;
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(entity, nullptr, context);
    if (!request) return;
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch({"engagementType"});
    request->setReturnsDistinctResults(true);
    std::vector<std::optional<std::string>> types;
    for (const auto& row : storage.executeFetchRequestAndWait(request, context)) {
        auto type = partnerRowText(row, "engagementType");
        if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(std::move(type));
    }
    // A partner without a kind is listed under an empty title, not dropped.
    std::sort(types.begin(), types.end(), [](const auto& a, const auto& b) {
        return engagementTypeOrderedBefore(a.value_or(""), b.value_or(""));
    });
    for (const auto& type : types) {
        sectionTitles_.push_back(type.value_or(""));
        sections_.push_back(fetchPartners(
            coredata::Predicate::withFormatArguments(
                "engagementType = %@", {type ? foundation::Value(*type) : foundation::Value()}),
            false));
    }
}

void PartnersListViewController::reloadDataSourceAndTable() {
    initDataSource();
    if (auto table = tableView()) table->reloadData();
}

void PartnersListViewController::filterContentForSearchText(const std::optional<std::string>& searchText) {
    searchResults_ = fetchPartners(
        coredata::Predicate::withFormatArguments("commonName CONTAINS [cd] %@", {foundation::Value(searchText.value_or(""))}),
        true);
}

std::vector<std::string> PartnersListViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataPartner::kEntityName};
}

void PartnersListViewController::onPullToRefreshExecuted() { QVAApiManagerRefresh::refreshPartners(); }

bool PartnersListViewController::isSearching() const {
    const auto& search = searchDisplayController();
    return search && search->isActive();
}

bool PartnersListViewController::isSearchResultsTable(const uikit::UITableView& table) const {
    const auto& search = searchDisplayController();
    return search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &table;
}

const foundation::Value* PartnersListViewController::rowAt(const uikit::NSIndexPath& indexPath, bool inSearch) const {
    if (indexPath.row < 0 || indexPath.section < 0) return nullptr;
    const auto row = static_cast<size_t>(indexPath.row);
    if (inSearch) {
        if (indexPath.section != 0 || !searchResults_ || row >= searchResults_->size()) return nullptr;
        return &(*searchResults_)[row];
    }
    const auto section = static_cast<size_t>(indexPath.section);
    if (section >= sections_.size() || row >= sections_[section].size()) return nullptr;
    return &sections_[section][row];
}

std::optional<std::string> PartnersListViewController::getObjectIdForIndexPath(const uikit::NSIndexPath& indexPath) {
    const foundation::Value* row = rowAt(indexPath, isSearching());
    return row ? partnerRowText(*row, "itemId") : std::nullopt;
}

int64_t PartnersListViewController::getNumberOfSections() {
    return isSearching() ? 1 : static_cast<int64_t>(sections_.size());
}

int64_t PartnersListViewController::getNumberOfRowsForSection(int64_t section) {
    if (isSearching()) return section == 0 && searchResults_ ? static_cast<int64_t>(searchResults_->size()) : 0;
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return 0;
    return static_cast<int64_t>(sections_[static_cast<size_t>(section)].size());
}

// --- The table ---

int64_t PartnersListViewController::numberOfSectionsInTableView(uikit::UITableView& table) {
    return isSearchResultsTable(table) ? 1 : static_cast<int64_t>(sections_.size());
}

int64_t PartnersListViewController::tableViewNumberOfRowsInSection(uikit::UITableView& table, int64_t section) {
    if (isSearchResultsTable(table)) return searchResults_ ? static_cast<int64_t>(searchResults_->size()) : 0;
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return 0;
    return static_cast<int64_t>(sections_[static_cast<size_t>(section)].size());
}

uikit::UITableViewCellPtr PartnersListViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                                                    const uikit::NSIndexPath& indexPath) {
    auto cell = table.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::string(kCellIdentifier));
    const foundation::Value* row = rowAt(indexPath, isSearchResultsTable(table));
    if (const auto& label = cell->textLabel()) {
        label->setText(row ? partnerRowText(*row, "name") : std::nullopt);
        label->setFont(uikit::UIFont::systemFontOfSize(kFontSize));
    }
    return cell;
}

std::optional<std::string> PartnersListViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView& table,
                                                                                           int64_t section) {
    if (isSearchResultsTable(table) || section < 0 || static_cast<size_t>(section) >= sectionTitles_.size())
        return std::nullopt;
    return sectionTitles_[static_cast<size_t>(section)];
}

std::optional<double> PartnersListViewController::tableViewHeightForHeaderInSection(uikit::UITableView& table,
                                                                                   int64_t section) {
    if (isSearchResultsTable(table)) return 0.0;
    return LiteListBaseViewController::tableViewHeightForHeaderInSection(table, section);
}

std::shared_ptr<uikit::UIView> PartnersListViewController::tableViewViewForHeaderInSection(uikit::UITableView& table,
                                                                                          int64_t section) {
    if (isSearchResultsTable(table)) return nullptr;
    return LiteListBaseViewController::tableViewViewForHeaderInSection(table, section);
}

std::optional<double> PartnersListViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                  const uikit::NSIndexPath&) {
    return kRowHeight;
}

void PartnersListViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                  const uikit::NSIndexPath& indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
    const bool inSearch = isSearchResultsTable(table);
    if (inSearch && searchBar_) searchBar_->resignFirstResponder();
    selectedRowIndexPath_ = indexPath;
    const foundation::Value* row = rowAt(indexPath, inSearch);
    selectedPartnerId_ = row ? partnerRowText(*row, "itemId") : std::nullopt;
    performSegueWithIdentifier(kDetailsSegue, shared_from_this());
}

void PartnersListViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    LiteListBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() != kDetailsSegue) return;
    if (Utils::isIPad()) {
        auto delegate = AppDelegate::sharedAppDelegate();
        if (auto split = delegate ? delegate->eventsSplitVC() : nullptr) split->hideLeftPopoverMenu();
    }
    auto details = std::dynamic_pointer_cast<DetailsScreenSupport>(
        MoreScenes::screenOfDestination(segue.destinationViewController()));
    if (!details) return;
    // The swipe is turned off only when the array in use holds exactly one
    // element; outside a search that array is the list of kinds, not of
    // partners.
    const size_t inUse = isSearching() ? (searchResults_ ? searchResults_->size() : 0) : sections_.size();
    details->setInputs({selectedPartnerId_, std::string(QVACoreDataPartner::kEntityName),
                        std::dynamic_pointer_cast<SwipeParentControllerProtocol>(shared_from_this()),
                        selectedRowIndexPath_, inUse != 1});
}

// --- Stepping ---

std::shared_ptr<IdIndexPair> PartnersListViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    const auto id = getObjectIdForIndexPath(indexPath);
    if (!id || id != currentDetailId) return nullptr;
    auto step = RowRing([this](int64_t section) { return getNumberOfRowsForSection(section); }, getNumberOfSections())
                    .step(direction, indexPath);
    if (!step) return nullptr;
    const auto target = *step;
    auto targetId = getObjectIdForIndexPath(target);
    if (!targetId) return nullptr;
    if (auto table = getCurrentTableView()) table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(target, std::move(targetId), std::nullopt);
}

// --- The search display ---

bool PartnersListViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController&, const std::optional<std::string>& searchString) {
    filterContentForSearchText(searchString);
    return true;
}

void PartnersListViewController::searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) {
    searchResults_.reset();
    if (controller.isSearchResultsTableViewLoaded()) controller.searchResultsTableView()->setContentOffset({0, 0});
    keyboardWillHide();
}

void PartnersListViewController::searchDisplayControllerWillUnloadSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                        uikit::UITableView&) {
    searchResults_.reset();
}
