#include "people/MessagesListBaseViewController.h"

#include "Utils/Utils.h"
#include "api/MessagesManager.h"
#include "app/EventsTabBarController.h"
#include "coredata/Predicate.h"
#include "foundation/Format.h"
#include "lists/DetailsNavigationController.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAUserAccount.h"
#include "people/MessageCell.h"
#include "people/MessageComposerViewController.h"
#include "people/MessagesInboxListDelegate.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboardSegue.h"

namespace {

// Participant id → name of the recipients who are not the user.
std::map<std::string, std::string> threadRecipientsWithoutUser(const MessageThreadDataModel::Recipients& recipients,
                                                               const std::optional<std::string>& userId) {
    std::map<std::string, std::string> map;
    for (const auto& recipient : recipients) {
        const auto& id = recipient->participantId();
        if (!id || id == userId || !QVAMessageRecipient::isSendableId(*id)) continue;
        map.emplace(*id, recipient->name().value_or(""));
    }
    return map;
}

}  // namespace

std::shared_ptr<MessagesListBaseViewController> MessagesListBaseViewController::navigateFromController(
    uikit::UIViewController& source, const MessageThreadDataModelPtr& thread, int navigationType) {
    auto screen = BaseViewController::instantiateViewController<MessagesListBaseViewController>();
    if (!screen) return nullptr;
    screen->setCurrentThreadModel(thread);
    screen->setListDelegate(std::make_shared<MessagesInboxListDelegate>());
    if (navigationType == 0) {
        if (auto navigation = source.navigationController()) navigation->pushViewController(screen, true);
    } else if (navigationType == 1) {
        DetailsNavigationController::showInSplitViewDetail(screen);
    }
    return screen;
}

std::map<std::string, std::string> MessagesListBaseViewController::replyRecipientsForThread(
    const MessageThreadDataModel& thread) {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    const std::optional<std::string> userId = account ? account->itemId() : std::nullopt;
    auto recipients = threadRecipientsWithoutUser(thread.toArray(), userId);
    // A message the user alone received is answered to whoever sent it.
    if (recipients.empty()) recipients = threadRecipientsWithoutUser(thread.fromArray(), userId);
    return recipients;
}

std::shared_ptr<const coredata::Predicate> MessagesListBaseViewController::fetchPredicate() {
    return coredata::Predicate::withFormat("threadId = %d", currentThreadModel_ ? currentThreadModel_->threadId() : 0);
}

void MessagesListBaseViewController::viewDidLoad() {
    // Opened on its own, without a thread: an empty thread.
    if (!listDelegate()) setListDelegate(std::make_shared<MessagesInboxListDelegate>());
    ListBaseViewController::viewDidLoad();
    trackAnalyticsEvent();
    setTitle(std::string(kTitle));
    if (auto label = subjectLabel()) label->setText(currentThreadModel_ ? currentThreadModel_->subject() : std::nullopt);
    if (auto label = discussionParticipantsLabel())
        label->setText(foundation::Format(kParticipantsFormat,
                                          currentThreadModel_ ? currentThreadModel_->fullNamesList() : std::string()));
    if (auto table = tableView()) {
        table->registerNib(uikit::UINib::nibWithNibName(MessageCell::threadCellNibName()),
                           MessagesInboxListDelegate::kCellIdentifier);
        table->setAllowsSelection(false);
        auto self = std::static_pointer_cast<MessagesListBaseViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
    refreshFetchedResultsControllersAndTables();
    markThreadRead();
    onNetworkStatusChanged(Utils::isInternetReachable());
    auto stack = coreDataStack();
    if (!stack || !FetchRequestUtils::hasMessagesSendPermissionGrantedInContext(stack->managedObjectContextMainQueue()))
        navigationItem()->setRightBarButtonItem(nullptr);
}

void MessagesListBaseViewController::markThreadRead() {
    if (!currentThreadModel_) return;
    std::weak_ptr<MessagesListBaseViewController> weak =
        std::static_pointer_cast<MessagesListBaseViewController>(shared_from_this());
    MessagesManager::sharedMessagesManager().markAsReadMessageWithThreadId(
        currentThreadModel_->threadId(), authenticationCode(),
        [weak](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (error) return;
            auto screen = weak.lock();
            if (auto tabBar = screen ? screen->eventsTabBarController() : nullptr)
                tabBar->refreshMessagesAndMeetingRequestsCounter();
        });
}

void MessagesListBaseViewController::viewDidAppear(bool animated) {
    ListBaseViewController::viewDidAppear(animated);
    auto table = tableView();
    if (!table) return;
    const double contentHeight = table->contentSize().height;
    const double frameHeight = table->frame().size.height;
    if (contentHeight - frameHeight > kScrollToBottomSlack) table->setContentOffset({0, contentHeight - frameHeight}, true);
}

void MessagesListBaseViewController::onNetworkStatusChanged(bool online) {
    if (replyButton_) replyButton_->setEnabled(online);
}

void MessagesListBaseViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    ListBaseViewController::prepareForSegue(segue, sender);
    if (segue.identifier() != kReplySegue || !currentThreadModel_) return;
    auto destination = segue.destinationViewController();
    if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
        destination = navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
    auto composer = std::dynamic_pointer_cast<MessageComposerViewController>(destination);
    if (!composer) return;
    composer->setAlreadyAddedToFieldOrvaneUsers(replyRecipientsForThread(*currentThreadModel_));
    composer->setReplySubject(currentThreadModel_->subject());
    composer->setThreadId(currentThreadModel_->threadId());
}

std::shared_ptr<MessageCell> MessagesListBaseViewController::heightPrototypeCell() {
    static std::shared_ptr<MessageCell> prototype;
    if (!prototype)
        if (auto table = tableView())
            prototype = std::dynamic_pointer_cast<MessageCell>(
                table->dequeueReusableCellWithIdentifier(MessagesInboxListDelegate::kCellIdentifier));
    return prototype;
}

std::optional<double> MessagesListBaseViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    auto* controller = fetchedResultsControllerForTableView(table);
    auto cell = heightPrototypeCell();
    if (!controller || !cell) return std::nullopt;
    auto message = controller
                       ->objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                       .objectAs<QVACoreDataMessage>();
    if (!message) return std::nullopt;
    cell->configureWithDetailObject(*message);
    return cell->getCellHeightInTableView(table);
}
