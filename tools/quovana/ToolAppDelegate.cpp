#include "quovana/ToolAppDelegate.h"

#include "foundation/Log.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "quovana/Gallery.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"
#include "uikit/UIStoryboard.h"

namespace quovana {

std::string ToolAppDelegate::deviceStoryboardName() {
    return uikit::UIDevice::currentDevice().userInterfaceIdiom() == uikit::UIUserInterfaceIdiom::Pad
               ? "Storyboard_iPad"
               : "Storyboard_iPhone";
}

bool ToolAppDelegate::applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                               const foundation::Value& launchOptions) {
    (void)launchOptions;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (auto account = settings.currentAccount(); account && account->authenticationCode()) {
        auto event = settings.currentEvent();
        const auto eventId = event ? event->itemId() : std::nullopt;
        StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
            account->authenticationCode(), eventId,
            [](const foundation::ErrorPtr& error, const std::shared_ptr<CoreDataStack>&) {
                if (error) foundation::Log("quovana app: the current account's store did not open: %@",
                                           error->localizedDescription());
            });
    }

    uikit::UIViewControllerPtr root;
    const std::string name = deviceStoryboardName();
    if (!showGallery_ && uikit::UIStoryboard::isStoryboardRegistered(name))
        root = uikit::UIStoryboard::storyboardWithName(name)->instantiateInitialViewController();
    if (!root) root = registerGalleryStoryboard()->instantiateInitialViewController();
    auto window = application.keyWindow();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    return true;
}

}  // namespace quovana
