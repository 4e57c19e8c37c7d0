#include "people/MessageListOnThreadsViewController.h"

#include <algorithm>

#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/MessagesManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "app/EventsTabBarController.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataMessage.h"
#include "people/MessageCell.h"
#include "people/MessagesListBaseViewController.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"

namespace {

void showThreadListAlert(const char* title) {
    auto alert = UIBlockAlertView::initWithTitle(std::string(title), std::nullopt);
    alert->addButtonWithTitle("OK", nullptr);
    alert->show();
}

}  // namespace

std::shared_ptr<MessageListOnThreadsViewController> MessageListOnThreadsViewController::self() {
    return std::static_pointer_cast<MessageListOnThreadsViewController>(shared_from_this());
}

void MessageListOnThreadsViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    if (auto table = tableView()) {
        table->registerNib(uikit::UINib::nibWithNibName(MessageCell::listCellNibName()), kCellIdentifier);
        table->setDataSource(self());
        table->setDelegate(self());
    }
    if (auto container = std::dynamic_pointer_cast<MessagesListSegmentedNavigationController>(navigationController()))
        if (const auto& titleView = container->containerViewSegmentedControl())
            navigationItem()->setTitleView(titleView);
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    trackAnalyticsEvent();
    reloadDataSourceAndTable();
    auto stack = coreDataStack();
    if (!stack || !FetchRequestUtils::hasMessagesSendPermissionGrantedInContext(stack->managedObjectContextMainQueue()))
        navigationItem()->setRightBarButtonItem(nullptr);
}

void MessageListOnThreadsViewController::trackAnalyticsEvent() { AnalyticsUtils::trackEventWithName(kAnalyticsEventName); }

std::shared_ptr<uikit::UIImage> MessageListOnThreadsViewController::segmentedControlImage() {
    return uikit::UIImage::imageNamed(kSegmentImage);
}

std::vector<std::string> MessageListOnThreadsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataMessage::kEntityName};
}

std::vector<MessageThreadDataModelPtr> MessageListOnThreadsViewController::fetchThreads() {
    std::vector<MessageThreadDataModelPtr> threads;
    auto stack = coreDataStack();
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return threads;
    const auto ids = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataMessage::kEntityName, .properties = {"threadId"}, .distinct = true});
    auto& storage = StorageManager::sharedStorageManager();
    for (const auto& row : ids) {
        auto request = storage.fetchRequestForItemType(
            EntityClass::of<QVACoreDataMessage>(), coredata::Predicate::withFormat("threadId = %d", row["threadId"].intValue()),
            context);
        if (!request) continue;
        request->setSortDescriptors({coredata::SortDescriptor("sentDatetime", false)});
        std::vector<std::shared_ptr<QVACoreDataMessage>> messages;
        for (const auto& value : storage.executeFetchRequestAndWait(request, context))
            if (auto message = value.objectAs<QVACoreDataMessage>()) messages.push_back(std::move(message));
        threads.push_back(MessageThreadDataModel::initFromThreadMessagesArray(messages));
    }
    // The service's date texts sort as their times do.
    std::stable_sort(threads.begin(), threads.end(), [](const auto& a, const auto& b) {
        return a->sentDate().value_or("") > b->sentDate().value_or("");
    });
    return threads;
}

void MessageListOnThreadsViewController::reloadDataSourceAndTable() {
    threads_ = fetchThreads();
    if (auto table = tableView()) table->reloadData();
}

void MessageListOnThreadsViewController::onPullToRefreshExecuted() {
    std::weak_ptr<MessageListOnThreadsViewController> weak = self();
    QVAApiManagerRefresh::refreshMessagesWithCompletionBlock([weak](const foundation::ErrorPtr&, const foundation::Value&) {
        auto list = weak.lock();
        if (!list) return;
        if (auto tabBar = list->eventsTabBarController()) tabBar->refreshMessagesAndMeetingRequestsCounter();
    });
}

int64_t MessageListOnThreadsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(threads_.size());
}

uikit::UITableViewCellPtr MessageListOnThreadsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    auto cell = LiteListBaseViewController::tableViewCellForRowAtIndexPath(table, indexPath);
    auto messageCell = std::dynamic_pointer_cast<MessageCell>(cell);
    if (messageCell && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < threads_.size())
        messageCell->configureWithMessageThread(*threads_[static_cast<size_t>(indexPath.row)]);
    return cell;
}

std::optional<double> MessageListOnThreadsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                          const uikit::NSIndexPath&) {
    return kRowHeight;
}

std::optional<std::string> MessageListOnThreadsViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                                  int64_t) {
    return std::string(kSectionTitle);
}

void MessageListOnThreadsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                          const uikit::NSIndexPath& indexPath) {
    LiteListBaseViewController::tableViewDidSelectRowAtIndexPath(table, indexPath);
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= threads_.size()) return;
    MessagesListBaseViewController::navigateFromController(*this, threads_[static_cast<size_t>(indexPath.row)],
                                                           Utils::isIPad() ? 1 : 0);
}

void MessageListOnThreadsViewController::tableViewCommitEditingStyle(uikit::UITableView& table,
                                                                     uikit::UITableViewCellEditingStyle editingStyle,
                                                                     const uikit::NSIndexPath& indexPath) {
    if (editingStyle != uikit::UITableViewCellEditingStyle::Delete) return;
    if (!Utils::isInternetReachable()) {
        showThreadListAlert(kOfflineDeleteTitle);
        return;
    }
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= threads_.size()) {
        showThreadListAlert(kNoSuchThreadTitle);
        return;
    }
    const int32_t threadId = threads_[static_cast<size_t>(indexPath.row)]->threadId();
    threads_.erase(threads_.begin() + indexPath.row);
    table.deleteRowsAtIndexPaths({indexPath}, uikit::UITableViewRowAnimation::Fade);
    std::weak_ptr<MessageListOnThreadsViewController> weak = self();
    MessagesManager::sharedMessagesManager().deleteMessageWithThreadId(
        threadId, authenticationCode(), [weak](const foundation::ErrorPtr& error, const foundation::Value&) {
            // On success the store's save rebuilds the list.
            if (!error) return;
            if (auto list = weak.lock()) list->reloadDataSourceAndTable();
            showThreadListAlert(kDeleteFailedTitle);
        });
}
