#include "lists/LiteListBaseViewController.h"

#include "Utils/PullToRefreshControl.h"
#include "Utils/Utils.h"
#include "coredata/Constants.h"
#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/IdIndexPair.h"
#include "model/IEntityModel.h"
#include "store/CoreDataStack.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UISearchBar.h"

namespace {

// The saved objects' sets, in the order they are scanned.
constexpr const char* kSavedSets[] = {coredata::kInsertedObjectsKey, coredata::kDeletedObjectsKey,
                                      coredata::kUpdatedObjectsKey};

}  // namespace

bool LiteListBaseViewController::savedObjectsMatch(const foundation::Value& userInfo,
                                                   const std::vector<std::string>& entities) {
    if (entities.empty()) return false;
    for (const char* key : kSavedSets) {
        const foundation::Value::Array* objects = userInfo[key].array();
        if (!objects) continue;
        for (const auto& value : *objects) {
            auto object = value.objectAs<coredata::ManagedObject>();
            if (!object) continue;
            for (const auto& entity : entities)
                if (object->isKindOfEntity(entity)) return true;
        }
    }
    return false;
}

LiteListBaseViewController::LiteListBaseViewController(std::optional<std::string> nibName)
    : BaseViewController(std::move(nibName)),
      lastPullToRefreshDate_(foundation::Date::fromTimeIntervalSince1970(kInitialPullTimeSince1970)) {}

LiteListBaseViewController::~LiteListBaseViewController() {
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<LiteListBaseViewController> LiteListBaseViewController::self() {
    return std::dynamic_pointer_cast<LiteListBaseViewController>(shared_from_this());
}

LiteListBaseViewController::SearchableTable LiteListBaseViewController::loadSearchableTable(graphics::Size size) {
    constexpr double kSearchBarHeight = 44;
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, size.width, size.height));
    root->setBackgroundColor(graphics::Color::white());
    SearchableTable built{std::make_shared<uikit::UITableView>(root->bounds()),
                          std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, size.width, kSearchBarHeight))};
    built.table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    built.searchBar->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    built.table->setTableHeaderView(built.searchBar);
    root->addSubview(built.table);
    setView(root);
    setTableView(built.table);
    auto me = self();
    built.table->setDataSource(me);
    built.table->setDelegate(me);
    uikit::UISearchDisplayController::create(built.searchBar, me)->answerWith(me);
    return built;
}

void LiteListBaseViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    lastPullToRefreshDate_ = foundation::Date::fromTimeIntervalSince1970(kInitialPullTimeSince1970);
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    observeSavesOfCurrentStore();
    if (pullToRefreshEnabled_) {
        if (auto table = tableView()) {
            refreshControl_ = PullToRefreshControl::initInScrollView(table);
            std::weak_ptr<LiteListBaseViewController> weak = self();
            refreshControl_->addTarget(
                [weak](uikit::UIControl& sender) {
                    if (auto list = weak.lock()) list->dropViewDidBeginRefreshing(static_cast<PullToRefreshControl&>(sender));
                },
                uikit::UIControlEventValueChanged);
        }
    }
}

void LiteListBaseViewController::observeSavesOfCurrentStore() {
    std::weak_ptr<LiteListBaseViewController> weak = self();
    saveObserver_.observe(coreDataStack(), [weak](const foundation::Notification& notification) {
        if (auto list = weak.lock()) list->contextDidSave(notification);
    });
}

void LiteListBaseViewController::contextDidSave(const foundation::Notification& notification) {
    StoreSaveObserver::updateOnceOnMatchingSave(
        notification, saveObserver_.context(), "the store's saves reach a list on the main thread only",
        [this](const foundation::Value& userInfo) {
            return savedObjectsMatch(userInfo, entitiesArrayToObserveForFilteringUIUpdates());
        },
        [list = self()] { list->updateUiContentBecauseItsNeeded(); });
}

void LiteListBaseViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    reloadDataSourceAndTable();
}

std::optional<double> LiteListBaseViewController::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) {
    return kSectionHeaderHeight;
}

std::shared_ptr<uikit::UIView> LiteListBaseViewController::tableViewViewForHeaderInSection(uikit::UITableView& table,
                                                                                            int64_t section) {
    auto header = CustomSectionHeaderTableView::initWithFrame(
        graphics::Rect(0, 0, table.bounds().size.width, kSectionHeaderHeight));
    header->setTitle(tableViewGetTitleForHeaderInSection(table, section));
    return header;
}

std::optional<std::string> LiteListBaseViewController::tableViewTitleForHeaderInSection(uikit::UITableView& table,
                                                                                         int64_t section) {
    return tableViewGetTitleForHeaderInSection(table, section);
}

int64_t LiteListBaseViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 1; }

int64_t LiteListBaseViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(dataSourceArray_.size());
}

uikit::UITableViewCellPtr LiteListBaseViewController::tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                                     const uikit::NSIndexPath&) {
    // Always from the list's own table, whichever table asks.
    std::string identifier = cellIdentifier();
    auto table = tableView();
    return table ? table->dequeueReusableCellWithIdentifier(identifier) : nullptr;
}

void LiteListBaseViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                   const uikit::NSIndexPath& indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
}

std::optional<std::string> LiteListBaseViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&, int64_t) {
    return std::nullopt;
}

std::string LiteListBaseViewController::cellIdentifier() { foundation::raise(kMissingCellIdentifierException, "sadsa"); }

std::shared_ptr<const coredata::Predicate> LiteListBaseViewController::getCompoundFiltersPredicate() {
    return coredata::Predicate::truePredicate();
}

void LiteListBaseViewController::dropViewDidBeginRefreshing(PullToRefreshControl& control) {
    // The spinner ends 2 s later whatever follows; the timer keeps the control.
    auto refreshing = std::static_pointer_cast<PullToRefreshControl>(control.shared_from_this());
    dispatch::Queue::main()->after(kRefreshSpinnerDuration, [refreshing] { refreshing->endRefreshing(); });
    foundation::Date now = foundation::Date::now();
    if (now.timeIntervalSinceDate(lastPullToRefreshDate_) < kMinimumPullInterval) return;
    lastPullToRefreshDate_ = now;
    onPullToRefreshExecuted();
}

void LiteListBaseViewController::onPullToRefreshExecuted() { foundation::Log(kPullNotImplementedMessage); }

RowRing LiteListBaseViewController::flatRowRing(int64_t count) {
    RowRing::Rules rules;
    rules.fewestRowsToWrapPrevious = 2;
    return RowRing({count}, 0, rules);
}

std::shared_ptr<IdIndexPair> LiteListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    (void)currentDetailId;
    // A stale index path past the rows finds nothing.
    auto step = flatRowRing(static_cast<int64_t>(dataSourceArray_.size())).step(direction, indexPath);
    if (!step) return nullptr;
    const uikit::NSIndexPath target = *step;
    if (auto table = tableView()) table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    auto pair = std::make_shared<IdIndexPair>();
    pair->setIndexPath(target);
    if (const auto& object = dataSourceArray_[static_cast<size_t>(target.row)]) {
        pair->setObjectId(object->selectionPropertyId());
        pair->setEntityName(object->coreDataClass());
    }
    return pair;
}

std::shared_ptr<uikit::UITableView> LiteListBaseViewController::getCurrentTableView() {
    auto search = searchDisplayController();
    if (search && search->isActive()) return search->searchResultsTableView();
    return tableView();
}

void LiteListBaseViewController::searchDisplayControllerWillShowSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                       uikit::UITableView&) {
    if (observingKeyboard_) return;
    observingKeyboard_ = true;
    std::weak_ptr<LiteListBaseViewController> weak = self();
    foundation::NotificationCenter::defaultCenter().addObserver(
        this,
        [weak](const foundation::Notification&) {
            if (auto list = weak.lock()) list->keyboardWillHide();
        },
        uikit::UIKeyboardWillHideNotification);
}

void LiteListBaseViewController::searchDisplayControllerDidHideSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                      uikit::UITableView&) {
    foundation::NotificationCenter::defaultCenter().removeObserver(this, uikit::UIKeyboardWillHideNotification);
    observingKeyboard_ = false;
}

void LiteListBaseViewController::keyboardWillHide() {
    auto search = searchDisplayController();
    if (!search) return;
    const auto& results = search->searchResultsTableView();
    if (!results) return;
    results->setContentInset(uikit::UIEdgeInsetsZero);
    results->setScrollIndicatorInsets(uikit::UIEdgeInsetsZero);
}
