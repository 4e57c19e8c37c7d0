#include "people/OutboxMessagesListViewController.h"

#include <algorithm>

#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "api/MessagesManager.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/Predicate.h"
#include "lists/FilterModel.h"
#include "lists/ListsDataSourceProtocol.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "people/MessageCell.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "people/OutboxMessageDetailsViewController.h"
#include "people/OutboxMessagesListDelegate.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"

std::shared_ptr<const coredata::Predicate> OutboxMessagesListViewController::fetchPredicate() {
    return coredata::Predicate::truePredicate();
}

ListBaseViewController::Filters OutboxMessagesListViewController::getFilterCollection() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->filtersCollection().value_or(Filters{}) : Filters{};
}

std::shared_ptr<uikit::UIImage> OutboxMessagesListViewController::segmentedControlImage() {
    return uikit::UIImage::imageNamed(kSegmentImage);
}

void OutboxMessagesListViewController::viewDidLoad() {
    // Opened on its own, not as the messages tab's segment that hands it its list.
    if (!listDelegate()) setListDelegate(std::make_shared<OutboxMessagesListDelegate>());
    ListBaseViewController::viewDidLoad();
    if (auto table = tableView()) {
        table->registerNib(uikit::UINib::nibWithNibName(MessageCell::listCellNibName()),
                           OutboxMessagesListDelegate::kCellIdentifier);
        auto self = std::static_pointer_cast<OutboxMessagesListViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
    if (auto container = std::dynamic_pointer_cast<MessagesListSegmentedNavigationController>(navigationController()))
        if (const auto& titleView = container->containerViewSegmentedControl())
            navigationItem()->setTitleView(titleView);
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    trackAnalyticsEvent();
    refreshFetchedResultsControllersAndTables();
}

int64_t OutboxMessagesListViewController::numberOfSectionsInTableView(uikit::UITableView& table) {
    return std::max<int64_t>(1, ListBaseViewController::numberOfSectionsInTableView(table));
}

std::optional<std::string> OutboxMessagesListViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                                int64_t) {
    return std::string(kSectionTitle);
}

std::optional<double> OutboxMessagesListViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                        const uikit::NSIndexPath&) {
    return kRowHeight;
}

void OutboxMessagesListViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                        const uikit::NSIndexPath& indexPath) {
    LiteListBaseViewController::tableViewDidSelectRowAtIndexPath(table, indexPath);
    auto* controller = fetchedResultsControllerForTableView(table);
    if (!controller || !Utils::doesIndexPath(indexPath, *controller)) return;
    auto message = controller
                       ->objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataOutboxMessage>();
    if (!message) return;
    OutboxMessageDetailsViewController::navigateFromController(*this, message->composeDate(), message->outboxId(),
                                                               Utils::isIPad() ? 1 : 0);
}

void OutboxMessagesListViewController::tableViewCommitEditingStyle(uikit::UITableView&,
                                                                   uikit::UITableViewCellEditingStyle editingStyle,
                                                                   const uikit::NSIndexPath& indexPath) {
    if (editingStyle == uikit::UITableViewCellEditingStyle::Delete) deleteOutboxMessageAtIndexPath(indexPath);
}

void OutboxMessagesListViewController::deleteOutboxMessageAtIndexPath(const std::optional<uikit::NSIndexPath>& indexPath) {
    const auto& controller = fetchedResultsController();
    if (!indexPath || !controller || !Utils::doesIndexPath(*indexPath, *controller)) {
        auto alert = UIBlockAlertView::initWithTitle(std::string(kNoSuchMessageTitle), std::nullopt);
        alert->addButtonWithTitle("OK", nullptr);
        alert->show();
        return;
    }
    auto message = controller
                       ->objectAtIndexPath({static_cast<size_t>(indexPath->section), static_cast<size_t>(indexPath->row)})
                       .objectAs<QVACoreDataOutboxMessage>();
    // The row's own identity: of two messages composed in the same second,
    // only the one swiped goes. The list follows the store's save.
    if (message && message->outboxId())
        MessagesManager::sharedMessagesManager().deleteOutboxMessageWithOutboxId(*message->outboxId());
}
