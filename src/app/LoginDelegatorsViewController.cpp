#include "app/LoginDelegatorsViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "app/ChangePasswordViewController.h"
#include "app/CustomNavigationController.h"
#include "app/LoadingViewController.h"
#include "app/LoginDelegatorsOptionsViewController.h"
#include "Utils/CustomActionSheet.h"
#include "Utils/Utils.h"
#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Format.h"
#include "lists/ListsDataSourceProtocol.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"
#include "lists/NamedRowsListDefinition.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWindow.h"

void LoginDelegatorsViewController::addScene(uikit::UIStoryboard& storyboard) {
    NamedRowsListDefinition::addScene<LoginDelegatorsViewController>(storyboard, kStoryboardIdentifier, kTableOutlet,
        kCellIdentifier);
}

// Every stored delegator, one section, by name.
LoginDelegatorsViewController::LoginDelegatorsViewController()
    : listDefinition_(std::make_shared<NamedRowsListDefinition>(
          QVACoreDataLoginDelegator::kEntityName, coredata::SortDescriptor("fullName", true), kCellIdentifier,
          [](const coredata::ManagedObject& row) {
              auto* typed = dynamic_cast<const QVACoreDataLoginDelegator*>(&row);
              return typed ? typed->fullName() : std::nullopt;
          },
          kNameLines)) {}

LoginDelegatorsViewController::~LoginDelegatorsViewController() {
    if (popoverLoginDelegatorsOptionsChoose_) popoverLoginDelegatorsOptionsChoose_->dismissPopoverAnimated(false);
}

void LoginDelegatorsViewController::awakeFromNib() {
    ListBaseViewController::awakeFromNib();
    setListDelegate(listDefinition_);
}

void LoginDelegatorsViewController::viewDidLoad() {
    ListBaseViewController::viewDidLoad();
    if (auto table = tableView()) {
        auto self = std::static_pointer_cast<LoginDelegatorsViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
}

// --- The options ---

void LoginDelegatorsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                     const uikit::NSIndexPath& indexPath) {
    ListBaseViewController::tableViewDidSelectRowAtIndexPath(tableView, indexPath);
    const auto& controller = fetchedResultsController();
    if (!controller) return;
    auto row = controller
                   ->objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                   .objectAs<QVACoreDataLoginDelegator>();
    auto cell = tableView.cellForRowAtIndexPath(indexPath);
    if (row && cell) onLoginDelegatorsOptionsExecuted(*cell, *row);
}

void LoginDelegatorsViewController::onLoginDelegatorsOptionsExecuted(uikit::UITableViewCell& cell,
                                                                     const QVACoreDataLoginDelegator& forLoginDelegator) {
    std::vector<std::string> options{kSwitchUserOption};
    if (forLoginDelegator.type() == std::optional<std::string>(kSpouseType)) options.emplace_back(kChangePasswordOption);
    const auto delegatorId = forLoginDelegator.itemId();

    if (Utils::isIPad()) {
        auto optionsScreen = std::dynamic_pointer_cast<LoginDelegatorsOptionsViewController>(
            instantiateViewControllerWithStoryboardIdentifier(LoginDelegatorsOptionsViewController::storyboardIdentifier()));
        if (!optionsScreen) return;
        optionsScreen->setLoginDelegatorId(delegatorId);
        optionsScreen->setDataSourceArray(options);
        optionsScreen->setTheDelegate(std::dynamic_pointer_cast<LoginDelegatorsOptionsDelegate>(shared_from_this()));
        auto navigation = CustomNavigationController::initWithRootViewController(optionsScreen);
        if (popoverLoginDelegatorsOptionsChoose_) popoverLoginDelegatorsOptionsChoose_->dismissPopoverAnimated(false);
        popoverLoginDelegatorsOptionsChoose_ = std::make_shared<uikit::UIPopoverController>(navigation);
        popoverLoginDelegatorsOptionsChoose_->presentPopoverFromRect(cell.frame(), view(), uikit::UIPopoverArrowDirectionUp,
                                                                     true);
        return;
    }

    std::vector<std::string> buttons{kSwitchUserButtonTitle};
    if (options.size() == 2) buttons.emplace_back(kChangePasswordButtonTitle);
    auto sheet = std::make_shared<CustomActionSheet>(
        std::string(), std::dynamic_pointer_cast<uikit::UIActionSheetDelegate>(shared_from_this()),
        std::string(kCancelButtonTitle), std::nullopt, buttons);
    sheet->setCancelButtonIndex(sheet->numberOfButtons() - 1);
    sheet->setSelectionPropertyId(delegatorId);
    auto window = view()->window();
    sheet->showInView(window ? std::static_pointer_cast<uikit::UIView>(window) : view());
}

void LoginDelegatorsViewController::dismissOptionsPopover() {
    if (!Utils::isIPad()) return;
    if (popoverLoginDelegatorsOptionsChoose_) popoverLoginDelegatorsOptionsChoose_->dismissPopoverAnimated(false);
    popoverLoginDelegatorsOptionsChoose_.reset();
}

void LoginDelegatorsViewController::controller(LoginDelegatorsOptionsViewController& controller,
                                               int actionSelectedWithType, const Text& forLoginDelegatorId) {
    (void)controller;
    // The popover goes first: the next screen must not open under it.
    dismissOptionsPopover();
    if (actionSelectedWithType == kChangePasswordActionType)
        onChangePasswordExecuted(nullptr, forLoginDelegatorId);
    else if (actionSelectedWithType == kSwitchUserActionType)
        onSwitchUserExecutedForLoginDelegatorId(forLoginDelegatorId);
}

void LoginDelegatorsViewController::controller(LoginDelegatorsOptionsViewController& controller,
                                               const Text& actionCanceledForLoginDelegatorId) {
    (void)controller;
    (void)actionCanceledForLoginDelegatorId;
    dismissOptionsPopover();
}

void LoginDelegatorsViewController::actionSheetClickedButtonAtIndex(uikit::UIActionSheet& actionSheet,
                                                                    int64_t buttonIndex) {
    auto* sheet = dynamic_cast<CustomActionSheet*>(&actionSheet);
    const Text delegatorId = sheet ? sheet->selectionPropertyId() : std::nullopt;
    if (buttonIndex == 0)
        onSwitchUserExecutedForLoginDelegatorId(delegatorId);
    else if (buttonIndex == 1 && buttonIndex != actionSheet.cancelButtonIndex())
        onChangePasswordExecuted(nullptr, delegatorId);
}

// --- Switching user ---

void LoginDelegatorsViewController::showSwitchFailedAlert() {
    Utils::displayAlertViewWithMessage(std::string(kSwitchFailedMessage), std::string(kSwitchFailedTitle));
}

void LoginDelegatorsViewController::onSwitchUserExecutedForLoginDelegatorId(const Text& loginDelegatorId) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto current = settings.currentAccount();
    auto baseUser = current ? current->duplicateCopySwitchUser() : nullptr;
    const Text oldToken = authenticationCode();
    auto currentEvent = settings.currentEvent();
    const Text oldEventId = currentEvent ? currentEvent->itemId() : std::nullopt;

    foundation::Value::Array rows;
    auto stack = coreDataStack();
    auto& storage = StorageManager::sharedStorageManager();
    if (stack && loginDelegatorId) {
        const auto& context = stack->managedObjectContextMainQueue();
        auto request = storage.fetchRequestForItemType(
            EntityClass::of<QVACoreDataLoginDelegator>(),
            coredata::Predicate::withFormat("itemId = %@", foundation::Value(*loginDelegatorId)), context);
        if (request) {
            request->setResultType(coredata::FetchRequestResultType::Dictionary);
            rows = storage.executeFetchRequestAndWait(request, context);
        }
    }
    if (rows.empty()) {
        showSwitchFailedAlert();
        return;
    }
    const auto& delegator = rows.front();

    foundation::ValueDictionary data;
    data[kTargetNameKey] = delegator["fullName"];
    data[kTargetIdKey] = delegator["itemId"];
    AnalyticsUtils::trackEventWithNameAndData(kChangeUserAnalyticsName, data);

    auto self = std::static_pointer_cast<LoginDelegatorsViewController>(shared_from_this());
    auto& api = QVAApiManager::sharedApiManager();
    api.getUserAccountForLoginDelegator(
        loginDelegatorId, oldToken, oldEventId,
        [self, baseUser, oldToken, oldEventId](const foundation::ErrorPtr& error, const foundation::Value& result) {
            auto account = error ? nullptr : result.objectAs<QVAUserAccount>();
            if (!account) {
                self->showSwitchFailedAlert();
                return;
            }
            QVAApiManager::sharedApiManager().getCurrentEventForAuthCode(
                account->authenticationCode(),
                [self, baseUser, oldToken, oldEventId, account](const foundation::ErrorPtr& eventError,
                                                                const foundation::Value& eventResult) {
                    auto event = eventError ? nullptr : eventResult.objectAs<QVAEvent>();
                    if (!event) {
                        self->showSwitchFailedAlert();
                        return;
                    }
                    // Only now, with both answers good, is anything of the
                    // current user dropped.
                    auto& store = ApplicationSettingsStore::sharedApplicationSettingsStore();
                    if (store.syncWithCalendar())
                        ApplicationService::syncCalendarService()->unsyncWithDeviceCalendarForAuthToken(oldToken, oldEventId,
                                                                                                       {});
                    StorageManager::sharedStorageManager().clear();
                    store.clear();
                    InteractiveMapsServices::instance().clearAllImapsResourcesAndDataOnLogoutOrSwitchUser();
                    store.setSettingsShowTutorial(false);
                    LoadingViewController::presentAsModalFromController(self, account, baseUser, event->itemId());
                });
        });
}

// --- Changing a spouse's password ---

void LoginDelegatorsViewController::onChangePasswordExecuted(const foundation::ObjectPtr& sender,
                                                             const Text& forLoginDelegatorId) {
    (void)sender;
    auto passwordScreen = instantiateViewController<ChangePasswordViewController>();
    if (!passwordScreen) return;
    passwordScreen->setSelectionPropertyId(foundation::Format("%@", foundation::Value(forLoginDelegatorId)));
    passwordScreen->setEntityName(std::string(QVACoreDataLoginDelegator::kEntityName));
    auto self = std::static_pointer_cast<uikit::UIViewController>(shared_from_this());
    std::weak_ptr<uikit::UIViewController> weakSelf = self;
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier(kChangePasswordSegue, self, passwordScreen,
                                                               [weakSelf, passwordScreen] {
                                                                   auto source = weakSelf.lock();
                                                                   auto navigation =
                                                                       source ? source->navigationController() : nullptr;
                                                                   if (navigation)
                                                                       navigation->pushViewController(passwordScreen, true);
                                                               });
    prepareForSegue(*segue, nullptr);
    segue->perform();
}
