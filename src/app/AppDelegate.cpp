#include "app/AppDelegate.h"

#include "Utils/AppearanceUtils.h"
#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/DeltaUpdateService.h"
#include "api/MessagesManager.h"
#include "api/Updater.h"
#include "app/AppAnalyticsSuperPropertiesProvider.h"
#include "app/AppDataClearing.h"
#include "app/AppSearchEntities.h"
#include "app/AppStoryboards.h"
#include "app/BaseViewController.h"
#include "app/EventsSplitViewController.h"
#include "app/LoadingViewController.h"
#include "app/LoginViewController.h"
#include "app/MessagesCounterRefreshing.h"
#include "app/StartTutorialStrings.h"
#include "app/NetworkActivityIndicator.h"
#include "crashreporting/CrashReporter.h"
#include "foundation/Bundle.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "http/QNNetworkReachabilityManager.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

namespace {

// This build's key of the crash-reporting service.
constexpr const char* kCrashReporterAPIKey = "5f3a9c0e7b21d84f6a0c93e1b7d25f48c6e09a13";
constexpr const char* kBanner = "==== Quovana Events: starting ====";

// The tint of every view that does not set its own.
const graphics::Color kWindowTint = graphics::Color::rgb(64 / 255.0, 158 / 255.0, 210 / 255.0, 1.0);

std::optional<std::string> nonEmpty(const foundation::Value& value) {
    if (StringUtility::isNilOrEmpty(value)) return std::nullopt;
    return value.stringValue();
}

std::optional<std::string> nonEmpty(const std::optional<std::string>& text) {
    if (!text || text->empty()) return std::nullopt;
    return text;
}

}  // namespace

std::shared_ptr<AppDelegate> AppDelegate::sharedAppDelegate() {
    return std::dynamic_pointer_cast<AppDelegate>(uikit::UIApplication::sharedApplication().delegate());
}

std::shared_ptr<uikit::UIWindow> AppDelegate::window() const {
    return uikit::UIApplication::sharedApplication().keyWindow();
}

void AppDelegate::reachabilityStatusChanged(QNNetworkReachabilityStatus status) {
    const char* object = nullptr;
    switch (status) {
        case QNNetworkReachabilityStatus::NotReachable:
            object = BaseViewController::kNetworkOffline;
            break;
        case QNNetworkReachabilityStatus::ReachableViaWWAN:
        case QNNetworkReachabilityStatus::ReachableViaWiFi:
            object = BaseViewController::kNetworkOnline;
            break;
        default:
            return;
    }
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        BaseViewController::kNetworkStatusNotification, foundation::Value(std::string(object)));
}

bool AppDelegate::isForcedLogoutDue(const std::optional<std::string>& oldStoredVersion,
                                    const std::optional<std::string>& storedVersion) {
    if (nonEmpty(oldStoredVersion) && !nonEmpty(storedVersion)) return true;
    // By the dotted numbers: as text, "3.10" would order before "3.4".
    return nonEmpty(storedVersion) && Updater::isNewerVersion(kMajorUpdateVersion, *storedVersion);
}

bool AppDelegate::applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                           const foundation::Value& launchOptions) {
    (void)launchOptions;
    // What the bundle brings: the strings, the storyboards (whose initial
    // scene is the root the launch starts from), the loading screen that
    // the services present when the current meeting changes, the home
    // screen's search kinds, and the badge and map files the services reach
    // through their hooks.
    foundation::Bundle::mainBundle().setStringTable(foundation::Bundle::kDefaultTable, StartTutorialStrings::entries());
    AppStoryboards::registerStoryboards();
    AppSearchEntities::registerSearchEntities();
    LoadingViewController::installLoadingScreenHook();
    installMessagesBadgeFinder();
    InteractiveMapsServices::installMapFilesHook();
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const auto oldStoredVersion = nonEmpty(settings.getOldStoredAppVersion());
    const auto storedVersion = settings.storedAppVersion();
    const bool forcedLogout = isForcedLogoutDue(oldStoredVersion, storedVersion);
    // The first screens read the stored account's store as their views
    // load, which installing the root does: it is opened first.
    const bool reloadStoredMeeting =
        !forcedLogout && settings.currentAccount() && recoverStoredMeetingOfInterruptedReload();
    if (!forcedLogout && settings.currentAccount()) openStoredAccountStore();
    auto window = application.keyWindow();
    // The appearance first: a view takes it when it enters the window, and
    // the first screens enter it with the root.
    window->setTintColor(kWindowTint);
    AppearanceUtils::customizeDefaultUIAppearance();
    // The storyboard's first scene is the account's home: without an
    // account (or on a forced logout) the launch goes straight to the login
    // screen, and no home screen is built, tracked and thrown away first.
    if (!forcedLogout && settings.currentAccount())
        window->setRootViewController(
            uikit::UIStoryboard::storyboardWithName(Utils::storyboardName())->instantiateInitialViewController());
    window->makeKeyAndVisible();

    foundation::Log("%@", std::string(kBanner));
    startServices();

    if (forcedLogout) {
        Utils::displayAlertViewWithMessage(std::string(kForcedLogoutMessage), std::nullopt);
        showLoginAfterClearing(true);
    } else if (settings.currentAccount()) {
        openStoredAccount();
        if (reloadStoredMeeting) {
            auto event = settings.currentEvent();
            window->rootViewController()->presentViewController(
                LoadingViewController::instantiateViewControllerWithAccount(settings.currentAccount(), event->itemId()),
                false);
        }
    } else {
        showLoginAfterClearing(false);
    }

    AnalyticsUtils::trackEventWithName(kStartAppEvent);
    settings.setStoredAppVersion(ApplicationService::applicationVersion());
    return true;
}

void AppDelegate::startServices() {
    CrashReporter::startWithAPIKey(kCrashReporterAPIKey);
    AnalyticsUtils::setSuperPropertiesProvider(std::make_shared<AppAnalyticsSuperPropertiesProvider>());
    AnalyticsUtils::initializeAnalytics();
    QVAShowNetworkActivityInStatusBar();
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    reachability.setReachabilityStatusChangeBlock(reachabilityStatusChanged);
    reachability.startMonitoring();
}

void AppDelegate::openStoredAccount() {
    AnalyticsUtils::registerSuperProperties();
    if (Utils::isIPad()) {
        if (auto split = std::dynamic_pointer_cast<EventsSplitViewController>(window()->rootViewController()))
            eventsSplitVC_ = split;
    }
}

void AppDelegate::openStoredAccountStore() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
        account->authenticationCode(), event ? event->itemId() : std::nullopt,
        [](const foundation::ErrorPtr& error, const std::shared_ptr<CoreDataStack>&) {
            if (!error) return;
            // No button: the user is asked to restart, and the alert stays.
            std::make_shared<uikit::UIAlertView>(std::string(kStoreFailureTitle), std::string(kStoreFailureMessage))
                ->show();
        });
}

// A cache reload clears the validity map while its meeting stays current;
// one that never ended leaves the meeting without an entry, its store
// holding what the download had reached, beside the copy it moved aside or
// at least the map it kept.
bool AppDelegate::recoverStoredMeetingOfInterruptedReload() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !event || !event->itemId()) return false;
    const auto key = settings.getKeyForAccount(account, event);
    if (settings.persistentStoresValidity().count(key)) return false;
    auto& storage = StorageManager::sharedStorageManager();
    const auto& token = account->authenticationCode();
    const auto& eventId = event->itemId();
    const bool copyKept = storage.cachedCopyOfPersistentStoreExistsForAuthToken(token, eventId);
    if (!copyKept && !settings.hasPersistentStoresValidityBeforeReload()) return false;
    if (copyKept && storage.revertCopyPersistentStoreFileForAuthToken(token, eventId)) {
        settings.restorePersistentStoresValidityBeforeReload();
        auto validity = settings.persistentStoresValidity();
        // The copy was the meeting on screen, so it was usable.
        if (!validity.count(key)) {
            validity[key] = foundation::Value(true);
            settings.setPersistentStoresValidity(validity);
        }
        foundation::Log("%@", std::string(kInterruptedReloadRevertedLog));
        return false;
    }
    storage.removePersistentStoreForAuthToken(token, eventId);
    settings.dropPersistentStoresValidityBeforeReload();
    foundation::Log("%@", std::string(kInterruptedReloadAgainLog));
    return true;
}

// The forced logout clears the whole application, the device calendar's
// mirror and the maps included; a launch without account only makes sure
// nothing of an earlier one is left.
void AppDelegate::showLoginAfterClearing(bool wholeApplication) {
    if (wholeApplication) {
        AppDataClearing::clearAppDataAndSettings();
    } else {
        StorageManager::sharedStorageManager().clear();
        ApplicationSettingsStore::sharedApplicationSettingsStore().clear();
    }
    LoginViewController::navigate();
}

void AppDelegate::applicationWillEnterForeground(uikit::UIApplication& application) {
    (void)application;
    AnalyticsUtils::trackEventWithName(kStartAppEvent);
}

void AppDelegate::applicationDidBecomeActive(uikit::UIApplication& application) {
    (void)application;
    MessagesManager::sharedMessagesManager().startTimerToSendOutboxMessagesIfAny();
    ApplicationService::deltaUpdateService()->checkForDeltaUpdates(false, true, true);
    Updater::instance().checkForUpdates(false);
}

void AppDelegate::applicationWillTerminate(uikit::UIApplication& application) {
    (void)application;
    AnalyticsUtils::trackEventWithName(kStopAppEvent);
}

uikit::UIInterfaceOrientationMask AppDelegate::applicationSupportedInterfaceOrientationsForWindow(
    uikit::UIApplication& application, uikit::UIWindow* window) {
    (void)application;
    (void)window;
    return Utils::isIPad() ? uikit::UIInterfaceOrientationMaskAll : uikit::UIInterfaceOrientationMaskAllButUpsideDown;
}
