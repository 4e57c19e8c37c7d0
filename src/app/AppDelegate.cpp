#include "app/AppDelegate.h"

#include "app/AppStoryboards.h"
#include "app/EventsSplitViewController.h"
#include "Utils/Utils.h"
#include "foundation/Log.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

std::shared_ptr<AppDelegate> AppDelegate::sharedAppDelegate() {
    return std::dynamic_pointer_cast<AppDelegate>(uikit::UIApplication::sharedApplication().delegate());
}

std::shared_ptr<uikit::UIWindow> AppDelegate::window() const {
    return uikit::UIApplication::sharedApplication().keyWindow();
}

bool AppDelegate::applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                           const foundation::Value& launchOptions) {
    (void)launchOptions;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (auto account = settings.currentAccount(); account && account->authenticationCode()) {
        auto event = settings.currentEvent();
        StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
            account->authenticationCode(), event ? event->itemId() : std::nullopt,
            [](const foundation::ErrorPtr& error, const std::shared_ptr<CoreDataStack>&) {
                if (error) foundation::Log("The current account's store did not open: %@", error->localizedDescription());
            });
    }

    AppStoryboards::registerStoryboards();
    auto root = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName())->instantiateInitialViewController();
    auto window = application.keyWindow();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    if (auto split = std::dynamic_pointer_cast<EventsSplitViewController>(root)) eventsSplitVC_ = split;
    return true;
}
