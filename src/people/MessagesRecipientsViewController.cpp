#include "people/MessagesRecipientsViewController.h"

#include <vector>

#include "coredata/FetchRequest.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/Predicate.h"
#include "foundation/NotificationCenter.h"
#include "maps/LocationCellTableViewCell.h"
#include "model/QVACoreDataMessageRecipient.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAUserAccount.h"
#include "people/MessagesRecipientsListDelegate.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "Utils/Utils.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"

namespace {


std::optional<std::string> recipientRowText(const foundation::Value& row, const char* key) {
    const foundation::Value value = coredata::valueForKey(row, key);
    if (value.isNull()) return std::nullopt;
    if (const auto* text = value.string()) return *text;
    return value.description();
}

foundation::Value recipientsPickerUserId() {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    auto id = account ? account->itemId() : std::nullopt;
    return id ? foundation::Value(*id) : foundation::Value();
}

}  // namespace

void MessagesRecipientsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<MessagesRecipientsViewController>(); });
    storyboard.addPrototypeCell(kStoryboardIdentifier, MessagesRecipientsListDelegate::kCellIdentifier, [] {
        return LocationCellTableViewCell::makePrototype(MessagesRecipientsListDelegate::kCellIdentifier);
    });
}

MessagesRecipientsViewController::MessagesRecipientsViewController() { setIsPullToRefreshEnabled(true); }

MessagesRecipientsViewController::~MessagesRecipientsViewController() {
    if (const auto& search = searchDisplayController()) {
        search->forgetDelegates();
    }
}

void MessagesRecipientsViewController::loadView() {
    auto built = loadSearchableTable({kPreferredWidth, kPreferredHeight});
    mainTable_ = std::move(built.table);
    searchBar_ = std::move(built.searchBar);
    mainTable_->registerPrototypeCells(*this);
}

void MessagesRecipientsViewController::viewDidLoad() {
    auto self = std::dynamic_pointer_cast<MessagesRecipientsViewController>(shared_from_this());
    LiteListBaseViewController::viewDidLoad();
    if (!listDelegate()) setListDelegate(std::make_shared<MessagesRecipientsListDelegate>());
    refreshAdditionalDataSource();
    setPreferredContentSize({kPreferredWidth, kPreferredHeight});
    std::weak_ptr<MessagesRecipientsViewController> weak = self;
    navigationItem()->setRightBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string(kDoneTitle), uikit::UIBarButtonItemStyle::Plain, [weak](uikit::UIBarButtonItem& item) {
            if (auto picker = weak.lock()) picker->doneSelecting(item.shared_from_this());
        }));
    Utils::changeEdgesForController(*this, 0);
    // The address book does not follow the network or the store.
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
    segmentedControl_ = std::make_shared<uikit::UISegmentedControl>(
        std::vector<uikit::UISegmentedControl::Item>{std::string(kAllSegmentTitle), std::string(kAtTheEventSegmentTitle)});
    segmentedControl_->addTarget(
        [weak](uikit::UIControl&) {
            if (auto picker = weak.lock()) picker->changeSegment();
        },
        uikit::UIControlEventValueChanged);
    segmentedControl_->sizeToFit();
    segmentedControl_->setSelectedSegmentIndex(0);
    navigationItem()->setTitleView(segmentedControl_);
    searchBar_->setPlaceholder(listDelegate()->searchHintText());
    initDataSource();
    trackAnalyticsEvent();
}

void MessagesRecipientsViewController::viewWillAppear(bool animated) {
    LiteListBaseViewController::viewWillAppear(animated);
    if (!selectedRecipients_) selectedRecipients_ = std::make_shared<Recipients>();
    if (mainTable_) {
        mainTable_->reloadData();
        mainTable_->setContentOffset({0, 0});
    }
}

// --- The rows ---

void MessagesRecipientsViewController::refreshAdditionalDataSource() {
    participantsForCurrentEventIds_.clear();
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto entity = EntityClass::named(QVACoreDataParticipant::kEntityName);
    if (!context || !entity) return;
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(
        entity, coredata::Predicate::withFormatArguments("itemId != %@", {recipientsPickerUserId()}), context);
    if (!request) return;
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch({"itemId"});
    for (const auto& row : storage.executeFetchRequestAndWait(request, context))
        if (auto id = recipientRowText(row, "itemId")) participantsForCurrentEventIds_.push_back(*id);
}

std::shared_ptr<const coredata::Predicate> MessagesRecipientsViewController::fetchPredicate() const {
    if (segmentedControl_ && segmentedControl_->selectedSegmentIndex() == kAtTheEventSegment) {
        foundation::Value::Array ids;
        for (const auto& id : participantsForCurrentEventIds_) ids.emplace_back(id);
        return coredata::Predicate::withFormatArguments("itemId IN %@", {foundation::Value(std::move(ids))});
    }
    return coredata::Predicate::withFormatArguments("itemId != %@", {recipientsPickerUserId()});
}

MessagesRecipientsViewController::Rows MessagesRecipientsViewController::fetchRecipients(
    const std::shared_ptr<const coredata::Predicate>& predicate) const {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto entity = EntityClass::named(QVACoreDataMessageRecipient::kEntityName);
    if (!context || !entity) return {};
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(entity, predicate, context);
    if (!request) return {};
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    if (const auto& delegate = listDelegate()) request->setSortDescriptors(delegate->sortDescriptors());
    Rows rows = storage.executeFetchRequestAndWait(request, context);
    // A row stored before such ids were refused is not offered either.
    std::erase_if(rows, [](const foundation::Value& row) {
        const auto id = recipientRowText(row, "itemId");
        return !id || !QVAMessageRecipient::isSendableId(*id);
    });
    return rows;
}

void MessagesRecipientsViewController::initDataSource() { rows_ = fetchRecipients(fetchPredicate()); }

void MessagesRecipientsViewController::reloadDataSourceAndTable() {
    initDataSource();
    if (auto table = tableView()) table->reloadData();
}

void MessagesRecipientsViewController::changeSegment() { reloadDataSourceAndTable(); }

void MessagesRecipientsViewController::filterContentForSearchText(const std::optional<std::string>& searchText) {
    searchDataSourceArray_ = fetchRecipients(coredata::Predicate::andPredicate(
        {coredata::Predicate::withFormatArguments("fullName CONTAINS [cd] %@",
                                                  {foundation::Value(searchText.value_or(""))}),
         fetchPredicateForSearch()}));
}

void MessagesRecipientsViewController::doneSelecting(const foundation::ObjectPtr& sender) {
    auto delegate = popoverDelegate();
    if (!delegate) return;
    delegate->recipientsSelected(selectedRecipients_ ? *selectedRecipients_ : Recipients{}, action_, sender != nullptr);
}

std::string MessagesRecipientsViewController::cellIdentifier() {
    return listDelegate() ? listDelegate()->cellIdentifier() : std::string(MessagesRecipientsListDelegate::kCellIdentifier);
}

// --- The table ---

bool MessagesRecipientsViewController::isSearchResultsTable(const uikit::UITableView& table) const {
    const auto& search = searchDisplayController();
    return search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &table;
}

const foundation::Value* MessagesRecipientsViewController::rowAt(const uikit::NSIndexPath& indexPath, bool inSearch) const {
    const Rows* rows = inSearch ? (searchDataSourceArray_ ? &*searchDataSourceArray_ : nullptr) : &rows_;
    if (!rows || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= rows->size()) return nullptr;
    return &(*rows)[static_cast<size_t>(indexPath.row)];
}

int64_t MessagesRecipientsViewController::tableViewNumberOfRowsInSection(uikit::UITableView& table, int64_t) {
    if (isSearchResultsTable(table)) return searchDataSourceArray_ ? static_cast<int64_t>(searchDataSourceArray_->size()) : 0;
    return static_cast<int64_t>(rows_.size());
}

uikit::UITableViewCellPtr MessagesRecipientsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    const std::string identifier = cellIdentifier();
    auto cell = std::dynamic_pointer_cast<LocationCellTableViewCell>(table.dequeueReusableCellWithIdentifier(identifier));
    // The search's own table has no prototypes of the scene.
    if (!cell) cell = LocationCellTableViewCell::makePrototype(identifier);
    const foundation::Value* row = rowAt(indexPath, isSearchResultsTable(table));
    const auto id = row ? recipientRowText(*row, "itemId") : std::nullopt;
    if (const auto& label = cell->locationName()) label->setText(row ? recipientRowText(*row, "fullName") : std::nullopt);
    const bool selected = id && selectedRecipients_ && selectedRecipients_->count(*id);
    cell->setAccessoryType(selected ? uikit::UITableViewCellAccessoryType::Checkmark
                                    : uikit::UITableViewCellAccessoryType::None);
    return cell;
}

std::optional<double> MessagesRecipientsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                        const uikit::NSIndexPath&) {
    return kRowHeight;
}

std::optional<double> MessagesRecipientsViewController::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) {
    return 0.0;
}

std::optional<std::string> MessagesRecipientsViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                                int64_t) {
    return std::nullopt;
}

void MessagesRecipientsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                        const uikit::NSIndexPath& indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
    const bool inSearch = isSearchResultsTable(table);
    const foundation::Value* row = rowAt(indexPath, inSearch);
    const auto id = row ? recipientRowText(*row, "itemId") : std::nullopt;
    if (!id) return;
    if (!selectedRecipients_) selectedRecipients_ = std::make_shared<Recipients>();
    auto cell = table.cellForRowAtIndexPath(indexPath);
    if (selectedRecipients_->count(*id)) {
        if (cell) cell->setAccessoryType(uikit::UITableViewCellAccessoryType::None);
        selectedRecipients_->erase(*id);
    } else {
        if (cell) cell->setAccessoryType(uikit::UITableViewCellAccessoryType::Checkmark);
        (*selectedRecipients_)[*id] = recipientRowText(*row, "fullName").value_or("");
    }
    if (inSearch && searchBar_) searchBar_->resignFirstResponder();
    doneSelecting(shared_from_this());
}

// --- The search display ---

bool MessagesRecipientsViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController&, const std::optional<std::string>& searchString) {
    filterContentForSearchText(searchString);
    return true;
}

void MessagesRecipientsViewController::searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) {
    searchDataSourceArray_.reset();
    if (controller.isSearchResultsTableViewLoaded()) controller.searchResultsTableView()->setContentOffset({0, 0});
    keyboardWillHide();
}

void MessagesRecipientsViewController::searchDisplayControllerWillUnloadSearchResultsTableView(
    uikit::UISearchDisplayController&, uikit::UITableView&) {
    searchDataSourceArray_.reset();
}
