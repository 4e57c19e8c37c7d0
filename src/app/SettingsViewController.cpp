#include "app/SettingsViewController.h"

#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/DeltaUpdateService.h"
#include "api/QVAApiManager.h"
#include "api/SyncCalendarService.h"
#include "api/Updater.h"
#include "app/AppDataClearing.h"
#include "app/ChangeAlertTimeViewController.h"
#include "app/ChooseCalendarViewController.h"
#include "app/LoadingViewController.h"
#include "app/LoginViewController.h"
#include "app/RetrieveViewController.h"
#include "app/SelectActivityViewController.h"
#include "app/SettingsCellFactory.h"
#include "app/LoginDelegatorsViewController.h"
#include "app/PrivacySettingsViewController.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "eventkit/EKCalendar.h"
#include "eventkit/EKSource.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FilterFetching.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVACoreDataEvent.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "people/ParticipantDetailsViewController.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIDevice.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UISwitch.h"

namespace {

using foundation::Value;

constexpr const char* kSynchronizingMessage = "Synchronizing with calendar";
constexpr const char* kSyncAnalyticsName = "Sync agenda with device calendar";
constexpr const char* kStateKey = "State";

ApplicationSettingsStore& settingsStore() { return ApplicationSettingsStore::sharedApplicationSettingsStore(); }

std::optional<std::string> currentEventId() {
    auto event = settingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

std::shared_ptr<UIBlockAlertView> showSynchronizingAlert() {
    auto alert = UIBlockAlertView::initWithTitle(std::nullopt, std::string(kSynchronizingMessage));
    alert->show();
    return alert;
}

uikit::UIStoryboardSegueDefinition pushSegue(const char* identifier, const char* destination) {
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = identifier;
    segue.kind = uikit::UIStoryboardSegueKind::Push;
    segue.destination = destination;
    return segue;
}

}  // namespace

const SettingsViewController::AlertTimes& SettingsViewController::calendarAlertTimeStrings() {
    static const AlertTimes labels{{0, "None"},
                                   {1, "At time of event"},
                                   {2, "5 minutes before"},
                                   {3, "15 minutes before"},
                                   {4, "30 minutes before"},
                                   {5, "1 hour before"},
                                   {6, "2 hours before"}};
    return labels;
}

void SettingsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<SettingsViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect(
                kTableOutlet, std::make_shared<uikit::UITableView>(graphics::Rect{}, uikit::UITableViewStyle::Grouped));
            static_cast<SettingsViewController&>(owner).settingsTableView_ = table;
            return table;
        });
    storyboard.addSegue(kStoryboardIdentifier,
                        pushSegue(kPushParticipantSegue, ParticipantDetailsViewController::kStoryboardIdentifier));
    storyboard.addSegue(kStoryboardIdentifier,
                        pushSegue(kChooseCalendarSegue, ChooseCalendarViewController::kStoryboardIdentifier));
    storyboard.addSegue(kStoryboardIdentifier,
                        pushSegue(kChangeAlertTimeSegue, ChangeAlertTimeViewController::kStoryboardIdentifier));
}

SettingsViewController::SettingsViewController() {
    addUnwindAction(ChooseCalendarViewController::kUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnChooseCalendarToSync(segue); });
    addUnwindAction(ChangeAlertTimeViewController::kUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnChangeAlertTime(segue); });
}

SettingsViewController::~SettingsViewController() = default;

std::shared_ptr<SettingsViewController> SettingsViewController::self() {
    return std::static_pointer_cast<SettingsViewController>(shared_from_this());
}

// --- Start and rebuilding ---

void SettingsViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    AnalyticsUtils::trackEventWithName("View settings");

    auto account = settingsStore().currentAccount();
    const auto participants = FilterFetching::fetchObjects(
        coreDataStack(), QVACoreDataParticipant::kEntityName,
        coredata::Predicate::withFormat("itemId = %@", Value(account ? account->itemId() : std::nullopt)));
    auto participant = participants.empty() ? nullptr : participants.front().objectAs<QVACoreDataParticipant>();
    isParticipantCellEnabled_ = participant && participant->inBooklet();

    if (settingsTableView_) {
        settingsTableView_->setDataSource(self());
        settingsTableView_->setDelegate(self());
    }
    hasDataLoaded_ = false;
    refreshSettingsTableView();
    hasDataLoaded_ = true;
    Utils::changeEdgesForController(*this, 0);
}

void SettingsViewController::onNetworkStatusChanged(bool) {
    if (hasDataLoaded_) refreshSettingsTableView();
}

void SettingsViewController::refreshSettingsTableView() {
    configureSettingsDataSource();
    if (settingsTableView_) settingsTableView_->reloadData();
}

void SettingsViewController::configureSettingsDataSource() {
    settingsDataSource_.clear();
    addAccountSection();
    addActivitySection();
    addSyncSection();
    addAutoUpdateContentSection();
    addVersionSection();
}

void SettingsViewController::addSection(std::string name, std::vector<SettingsCellDataModelPtr> rows) {
    settingsDataSource_.push_back(SettingsSectionModel::initWithName(std::move(name), std::move(rows)));
}

SettingsCellDataModelPtr SettingsViewController::makeRow(Text text, int type,
                                                         void (SettingsViewController::*action)(const Value&),
                                                         bool enabled) {
    auto row = std::make_shared<SettingsCellDataModel>();
    row->setCellText(std::move(text));
    row->setCellType(type);
    row->setIsEnabled(enabled);
    if (enabled && action) {
        row->setCellActionSelector([action](foundation::Object& screen, const Value& argument) {
            (static_cast<SettingsViewController&>(screen).*action)(argument);
        });
    }
    return row;
}

void SettingsViewController::addAccountSection() {
    auto account = settingsStore().currentAccount();
    addSection("Account", {makeRow(account ? account->fullName() : std::nullopt, SettingsCellDataModel::kNavigationCellType,
                                   &SettingsViewController::onUserClick, isParticipantCellEnabled_)});
}

void SettingsViewController::addActivitySection() {
    const bool online = Utils::isInternetReachable();
    auto context = coreDataStack() ? coreDataStack()->managedObjectContextMainQueue() : nullptr;
    auto& settings = settingsStore();
    std::vector<SettingsCellDataModelPtr> rows;
    if (FetchRequestUtils::hasUserPrivacySettingsPermissionGrantedInContext(context)) {
        rows.push_back(makeRow(std::string("Privacy settings"), SettingsCellDataModel::kActionCellType,
                               &SettingsViewController::onPrivacyExecuted, online));
    }
    if (settings.isCurrentUserADelegate()) {
        auto base = settings.baseUserWhenSwitchToDelegate();
        rows.push_back(makeRow(foundation::Format("Log back in as %@", Value(base ? base->fullName() : std::nullopt)),
                               SettingsCellDataModel::kActionCellType, &SettingsViewController::onSwitchBackExecuted,
                               online));
    } else if (!FilterFetching::fetchDictionaries(coreDataStack(), {.entityName = QVACoreDataLoginDelegator::kEntityName,
                                                                   .sortKey = std::string("fullName")})
                    .empty()) {
        rows.push_back(makeRow(std::string("Manage members of my party"), SettingsCellDataModel::kActionCellType,
                               &SettingsViewController::onSwitchUserExecuted, online));
    }
    rows.push_back(makeRow(std::string("Log out"), SettingsCellDataModel::kActionCellType,
                           &SettingsViewController::onLogoutExecuted, true));
    addSection("", std::move(rows));

    std::vector<SettingsCellDataModelPtr> eventRows;
    auto event = settings.currentEvent();
    const bool canSwitchMeeting =
        online && FetchRequestUtils::hasEventChangePermissionGrantedInContext(context) &&
        FilterFetching::fetchDictionaries(coreDataStack(),
                                          {.entityName = QVACoreDataEvent::kEntityName, .properties = {"itemId"}})
                .size() >= 2;
    eventRows.push_back(makeRow(event ? event->eventName() : std::nullopt, SettingsCellDataModel::kNavigationCellType,
                                &SettingsViewController::onSwitchMeetingExecuted, canSwitchMeeting));
    if (FetchRequestUtils::hasAgendaInvitationsPermissionGrantedInContext(context) ||
        FetchRequestUtils::hasAgendaResponsibilitiesPermissionGrantedInContext(context) ||
        FetchRequestUtils::hasAgendaSelectionsPermissionGrantedInContext(context) ||
        FetchRequestUtils::hasAgendaPersonalEntriesPermissionGrantedInContext(context)) {
        auto calendarRow = makeRow(std::string("Sync my agenda with the device calendar"),
                                   SettingsCellDataModel::kSwitchCellType, nullptr, true);
        calendarRow->setSwitchActionSelector([](foundation::Object& screen, const Value& argument) {
            if (auto calendarSwitch = argument.objectAs<uikit::UISwitch>())
                static_cast<SettingsViewController&>(screen).onSyncWithCalendarExecuted(*calendarSwitch);
        });
        calendarRow->setSwitchValue(settings.syncWithCalendar());
        calendarRow->setGetSwitchValueBlock([] { return settingsStore().syncWithCalendar(); });
        eventRows.push_back(calendarRow);
        if (settings.syncWithCalendar()) {
            auto alertRow = makeRow(std::string("Calendar alert time"), SettingsCellDataModel::kNavigationCellType,
                                    &SettingsViewController::onChangeAlertTimeExecuted, true);
            const auto& labels = calendarAlertTimeStrings();
            auto label = labels.find(settings.calendarAlertTime());
            if (label != labels.end()) alertRow->setCellDetailedText(label->second);
            eventRows.push_back(alertRow);
        }
    }
    addSection("Event", std::move(eventRows));
}

void SettingsViewController::addSyncSection() {
    const bool online = Utils::isInternetReachable();
    addSection("Sync", {makeRow(std::string("Update content"), SettingsCellDataModel::kActionCellType,
                                &SettingsViewController::onUpdateContentExecuted, online),
                        makeRow(std::string("Clear cache and reload content"), SettingsCellDataModel::kActionCellType,
                                &SettingsViewController::onClearCacheAndReloadContentExecuted, online)});
}

// Automatic content updates have no setting of their own: nothing is added.
void SettingsViewController::addAutoUpdateContentSection() {}

// Push notifications are not offered: nothing is added, and nothing calls it.
void SettingsViewController::addPushNotificationsSection() {}

void SettingsViewController::addVersionSection() {
    const bool online = Utils::isInternetReachable();
    addSection(foundation::Format("Version %@", Value(ApplicationService::applicationVersion())),
               {makeRow(std::string("Check for software updates"), SettingsCellDataModel::kActionCellType,
                        &SettingsViewController::checkForUpdatesAction, online),
                makeRow(std::string("Send feedback"), SettingsCellDataModel::kActionCellType,
                        &SettingsViewController::sendFeedback, online)});
}

// --- Table ---

int64_t SettingsViewController::numberOfSectionsInTableView(uikit::UITableView&) {
    return static_cast<int64_t>(settingsDataSource_.size());
}

int64_t SettingsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    return static_cast<int64_t>(settingsDataSource_.at(static_cast<size_t>(section))->cellsArray().size());
}

std::optional<std::string> SettingsViewController::tableViewTitleForHeaderInSection(uikit::UITableView&,
                                                                                    int64_t section) {
    return settingsDataSource_.at(static_cast<size_t>(section))->sectionName();
}

std::optional<double> SettingsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                              const uikit::NSIndexPath&) {
    return kRowHeight;
}

uikit::UITableViewCellPtr SettingsViewController::tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                                const uikit::NSIndexPath& indexPath) {
    return SettingsCellFactory::cellForRow(*rowAt(indexPath), self());
}

void SettingsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                              const uikit::NSIndexPath& indexPath) {
    SettingsCellFactory::didSelectRow(tableView, indexPath, *rowAt(indexPath), self());
}

const SettingsCellDataModelPtr& SettingsViewController::rowAt(const uikit::NSIndexPath& indexPath) const {
    return settingsDataSource_.at(static_cast<size_t>(indexPath.section))->cellsArray().at(static_cast<size_t>(indexPath.row));
}

// --- Navigation ---

void SettingsViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    BaseViewController::prepareForSegue(segue, sender);
    const auto& identifier = segue.identifier();
    if (identifier == kPushParticipantSegue) {
        auto details = std::dynamic_pointer_cast<DetailsScreenSupport>(segue.destinationViewController());
        auto account = settingsStore().currentAccount();
        if (!details) return;
        details->setSelectionPropertyId(foundation::Format("%@", Value(account ? account->itemId() : std::nullopt)));
        details->setEntityName(std::string(QVACoreDataParticipant::kEntityName));
    } else if (identifier == kChooseCalendarSegue) {
        auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(segue.destinationViewController());
        if (!chooser) return;
        auto service = ApplicationService::syncCalendarService();
        auto all = service->getSupportedSourcesCalendars();
        auto nonLocal = service->nonLocalSources();
        chooser->setCalendarSourcesData(nonLocal.empty() ? std::move(all) : std::move(nonLocal));
        chooser->setDelegate(self());
    } else if (identifier == kChangeAlertTimeSegue) {
        if (auto chooser = std::dynamic_pointer_cast<ChangeAlertTimeViewController>(segue.destinationViewController()))
            chooser->setAlertTimeDataSource(calendarAlertTimeStrings());
    }
}

void SettingsViewController::pushThroughCodeSegue(const std::string& identifier,
                                                  const uikit::UIViewControllerPtr& destination, bool logsTest) {
    if (!destination) return;
    std::weak_ptr<SettingsViewController> weak = self();
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier(identifier, self(), destination, [weak, destination,
                                                                                                 logsTest] {
        auto screen = weak.lock();
        if (!screen) return;
        if (logsTest) foundation::Log("Test");
        if (auto navigation = screen->navigationController()) navigation->pushViewController(destination, true);
    });
    prepareForSegue(*segue, nullptr);
    segue->perform();
}

void SettingsViewController::onUserClick(const Value&) { performSegueWithIdentifier(kPushParticipantSegue, nullptr); }

void SettingsViewController::onPrivacyExecuted(const Value&) {
    auto privacy = instantiateViewControllerWithStoryboardIdentifier(PrivacySettingsViewController::storyboardIdentifier());
    if (auto navigation = navigationController(); navigation && privacy) navigation->pushViewController(privacy, true);
}

void SettingsViewController::onSwitchUserExecuted(const Value&) {
    pushThroughCodeSegue(kLoginDelegatorsSegue, instantiateViewController<LoginDelegatorsViewController>(), false);
}

void SettingsViewController::onSwitchMeetingExecuted(const Value&) {
    pushThroughCodeSegue(kSwitchMeetingSegue, instantiateViewController<SelectActivityViewController>(), true);
}

void SettingsViewController::onChangeAlertTimeExecuted(const Value&) {
    performSegueWithIdentifier(kChangeAlertTimeSegue, nullptr);
}

// --- Account ---

void SettingsViewController::clearAppDataAndSettings() { AppDataClearing::clearAppDataAndSettings(); }

void SettingsViewController::onSwitchBackExecuted(const Value&) {
    auto base = settingsStore().baseUserWhenSwitchToDelegate();
    AnalyticsUtils::trackEventWithNameAndData(
        "Change user", {{"Target participant full name", Value(base ? base->fullName() : std::nullopt)},
                        {"Target participant id", Value(base ? base->itemId() : std::nullopt)}});
    clearAppDataAndSettings();
    LoadingViewController::presentAsModalFromController(self(), base, nullptr, std::nullopt);
}

void SettingsViewController::onLogoutExecuted(const Value&) {
    const char* title = settingsStore().syncWithCalendar()
                            ? "Are you sure you want to log out (your agenda calendar entries will also be deleted)?"
                            : "Are you sure you want to log out ?";
    auto alert = UIBlockAlertView::initWithTitle(std::string(title), std::nullopt);
    std::weak_ptr<SettingsViewController> weak = self();
    alert->addButtonWithTitle("OK", [weak](uikit::UIAlertView&) {
        QVAApiManager::sharedApiManager().cancelAllHTTPOperationTasks();
        AnalyticsUtils::trackEventWithName("Log out");
        if (auto screen = weak.lock()) screen->clearAppDataAndSettings();
        else AppDataClearing::clearAppDataAndSettings();
        LoginViewController::navigate();
        AnalyticsUtils::clearSuperProperties();
    });
    alert->addButtonWithTitle("Cancel", UIBlockAlertView::ActionBlock());
    alert->show();
}

// --- Content ---

void SettingsViewController::onUpdateContentExecuted(const Value&) {
    AnalyticsUtils::trackEventWithName("Update content");
    ApplicationService::deltaUpdateService()->checkForDeltaUpdates(true, false, false);
}

void SettingsViewController::onClearCacheAndReloadContentExecuted(const Value&) {
    auto& api = QVAApiManager::sharedApiManager();
    api.cancelAllHTTPOperationTasks();
    InteractiveMapsServices::instance().clearInMemoryResourcesOnClearCacheAndReloadContent();
    AnalyticsUtils::trackEventWithName("Clear cache and reload content");

    auto account = settingsStore().currentAccount();
    auto eventId = currentEventId();
    std::weak_ptr<SettingsViewController> weak = self();
    api.clearCacheAndReloadContentForAuthToken(
        account ? account->authenticationCode() : std::nullopt, eventId,
        [weak, account, eventId](const foundation::ErrorPtr& error, const Value&) {
            foundation::Log("Will clear cache");
            auto screen = weak.lock();
            if (!error) {
                if (!screen) return;
                auto loading = LoadingViewController::instantiateViewControllerWithAccount(account, eventId, true);
                screen->presentViewController(loading, true);
                return;
            }
            Utils::handleError(error, "Unable to clear cache and reload content", std::nullopt, false);
            auto alert = UIBlockAlertView::initWithTitle(std::string(kReloadFailedMessage), std::nullopt);
            // The whole application is cleared, the calendar mirror and the
            // maps with the store and settings: clearing only the last two
            // would leave mirrored entries nothing could remove any more.
            alert->addButtonWithTitle("OK", [](uikit::UIAlertView&) {
                AppDataClearing::clearAppDataAndSettings();
                LoginViewController::navigate();
            });
            alert->show();
        });
}

void SettingsViewController::checkForUpdatesAction(const Value&) { Updater::instance().checkForUpdates(true); }

void SettingsViewController::sendFeedback(const Value&) {
    if (!messageui::MFMailComposeViewController::canSendMail()) return;
    auto composer = std::make_shared<messageui::MFMailComposeViewController>();
    composer->setMailComposeDelegate(self());
    composer->setToRecipients({RetrieveViewController::kSupportMailAddress});
    composer->setSubject(foundation::Format(kFeedbackSubjectFormat, Value("iOS")));
    auto event = settingsStore().currentEvent();
    auto& device = uikit::UIDevice::currentDevice();
    composer->setMessageBody(foundation::Format(kFeedbackBodyFormat, Value(event ? event->eventName() : std::nullopt),
                                                Value(device.systemVersion()), Value(device.model())),
                             false);
    presentViewController(composer, true);
}

void SettingsViewController::mailComposeController(messageui::MFMailComposeViewController& controller,
                                                   messageui::MFMailComposeResult, const foundation::ErrorPtr&) {
    controller.dismissViewControllerAnimated(true);
}

void SettingsViewController::onCreditCardExecuted(const Value&) {}
void SettingsViewController::onHideParallelProgrammeExecuted(const Value&) {}
void SettingsViewController::onAutoUpdateContentExecuted(const Value&) {}
void SettingsViewController::registerForPushNotifications(const Value&) {}

// --- Device calendar ---

void SettingsViewController::onSyncWithCalendarExecuted(uikit::UISwitch& calendarSwitch) {
    auto service = ApplicationService::syncCalendarService();
    if (calendarSwitch.isOn()) {
        // The switch shows the stored state until a calendar has been synced.
        calendarSwitch.setOn(settingsStore().syncWithCalendar());
        if (service->checkEventStoreAccessForType(eventkit::EKEntityType::Event) ==
            eventkit::EKAuthorizationStatus::Authorized) {
            syncCalendarAuhorized();
            return;
        }
        std::weak_ptr<SettingsViewController> weak = self();
        service->requestEventStoreAccessWithType(eventkit::EKEntityType::Event,
                                                 [weak](bool granted, const foundation::ErrorPtr& error) {
                                                     auto screen = weak.lock();
                                                     if (screen && granted && !error) screen->syncCalendarAuhorized();
                                                 });
        return;
    }
    auto alert = showSynchronizingAlert();
    service->unsyncWithDeviceCalendarForAuthToken(
        authenticationCode(), currentEventId(), [alert](const foundation::ErrorPtr& error, const Value&) {
            alert->dismissWithClickedButtonIndex(0, false);
            if (error) {
                Utils::handleError(error, "Unable to remove entries from calendar", std::nullopt);
                return;
            }
            AnalyticsUtils::trackEventWithNameAndData(kSyncAnalyticsName, {{kStateKey, Value("OFF")}});
        });
    std::weak_ptr<SettingsViewController> weak = self();
    dispatch::Queue::main()->async([weak] {
        if (auto screen = weak.lock()) screen->refreshSettingsTableView();
    });
}

void SettingsViewController::syncCalendarAuhorized() { performSegueWithIdentifier(kChooseCalendarSegue, nullptr); }

void SettingsViewController::onSelectCalendarToSync(ChooseCalendarViewController& chooser) {
    syncAgendaIntoCalendar(chooser.selectedCalendar());
}

void SettingsViewController::unwindOnChooseCalendarToSync(uikit::UIStoryboardSegue& segue) {
    if (auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(segue.sourceViewController()))
        syncAgendaIntoCalendar(chooser->selectedCalendar());
}

void SettingsViewController::syncAgendaIntoCalendar(const std::shared_ptr<eventkit::EKCalendar>& calendar) {
    auto alert = showSynchronizingAlert();
    std::weak_ptr<SettingsViewController> weak = self();
    ApplicationService::syncCalendarService()->syncMyAgendaWithDeviceCalendar(
        calendar, authenticationCode(), currentEventId(),
        [weak, alert, calendar](const foundation::ErrorPtr& error, const Value&) {
            alert->dismissWithClickedButtonIndex(0, false);
            const Value calendarTitle = calendar ? Value(calendar->title()) : Value();
            const Value sourceTitle = calendar && calendar->source() ? Value(calendar->source()->title()) : Value();
            auto& settings = settingsStore();
            auto screen = weak.lock();
            if (error) {
                settings.setSyncWithCalendar(false);
                if (screen) screen->refreshSettingsTableView();
                Utils::displayAlertViewWithMessage(
                    foundation::Format("Unable to sync \"%@\" calendar in your %@ account", calendarTitle, sourceTitle),
                    std::nullopt);
                return;
            }
            settings.setSyncWithCalendar(true);
            settings.setCalendarIdentifier(calendar ? std::optional<std::string>(calendar->calendarIdentifier())
                                                    : std::nullopt);
            if (screen) screen->refreshSettingsTableView();
            AnalyticsUtils::trackEventWithNameAndData(kSyncAnalyticsName, {{kStateKey, Value("ON")}});
            Utils::displayAlertViewWithMessage(
                foundation::Format("Your agenda has been synced with \"%@\" calendar in your %@ account", calendarTitle,
                                   sourceTitle),
                std::nullopt);
        });
}

void SettingsViewController::unwindOnChangeAlertTime(uikit::UIStoryboardSegue& segue) {
    auto chooser = std::dynamic_pointer_cast<ChangeAlertTimeViewController>(segue.sourceViewController());
    if (!chooser) return;
    auto& settings = settingsStore();
    settings.setCalendarAlertTime(chooser->selectedCalendarAlertTime());
    refreshSettingsTableView();
    auto service = ApplicationService::syncCalendarService();
    service->syncMyAgendaWithDeviceCalendar(
        service->getCalendarWithIdentifier(settings.calendarIdentifier()), authenticationCode(), currentEventId(),
        [](const foundation::ErrorPtr& error, const Value&) {
            if (error)
                Utils::handleError(error, "Unable to sync agenda with calendar when alert time changed", std::nullopt,
                                   false);
        });
}
