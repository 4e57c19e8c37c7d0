#include "app/LoadingViewController.h"

#include <cfloat>
#include <cmath>

#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/LoadingScreenHook.h"
#include "api/QVAApiManager.h"
#include "app/AppDataClearing.h"
#include "app/AppDelegate.h"
#include "app/EventLoader.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "app/LoginViewController.h"
#include "app/QVAStartTutorialViewController.h"
#include "foundation/Format.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"
#include "uikit/UIApplication.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UIColor.h"
#include "uikit/UIDevice.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIViewAnimation.h"
#include "uikit/UIWindow.h"

using foundation::ErrorPtr;

namespace {

constexpr uikit::UIViewAutoresizing kFlexibleSize =
    uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight;
constexpr double kPercentLabelHeight = 40;
constexpr double kPercentLabelBottomMargin = 60;
constexpr double kPercentFontSize = 28;

std::shared_ptr<uikit::UIView> makeContainer(const graphics::Rect& bounds, const char* outlet) {
    auto container = std::make_shared<uikit::UIView>(bounds);
    container->setAutoresizingMask(kFlexibleSize);
    container->setOutletName(std::string(outlet));
    // The tutorial's drifting picture is larger than its page; once slid
    // away, nothing of it may stay over the main screens.
    container->setClipsToBounds(true);
    return container;
}

// The main screens of the current account and meeting as the new root.
void navigateToMainScreens() {
    if (Utils::isIPad())
        EventsSplitViewController::navigate();
    else
        EventsTabBarController::navigate();
}

// The store and the settings go; the login screen becomes the root.
void clearAndShowLogin() {
    AppDataClearing::clearAppDataAndSettings();
    LoginViewController::navigate();
}

void showAlert(const std::string& title, std::function<void()> onOK) {
    auto alert = UIBlockAlertView::initWithTitle(title, std::nullopt);
    alert->addButtonWithTitle("OK", [onOK = std::move(onOK)](uikit::UIAlertView&) { onOK(); });
    alert->show();
}

}  // namespace

// --- Creation ---

std::shared_ptr<LoadingViewController> LoadingViewController::instantiateViewControllerWithAccount(
    const std::shared_ptr<QVAUserAccount>& account, const Text& eventId) {
    auto loading = instantiateViewController<LoadingViewController>();
    if (!loading) return nullptr;
    loading->currentUserAccount_ = account;
    loading->eventId_ = eventId;
    return loading;
}

std::shared_ptr<LoadingViewController> LoadingViewController::instantiateViewControllerWithAccount(
    const std::shared_ptr<QVAUserAccount>& account, const Text& eventId, bool shouldClearCacheAndReload) {
    auto loading = instantiateViewControllerWithAccount(account, eventId);
    if (loading) loading->shouldClearCacheAndReloadContent_ = shouldClearCacheAndReload;
    return loading;
}

std::shared_ptr<LoadingViewController> LoadingViewController::instantiateViewControllerWithAccount(
    const std::shared_ptr<QVAUserAccount>& account) {
    return instantiateViewControllerWithAccount(account, std::nullopt);
}

void LoadingViewController::presentAsModalFromController(const uikit::UIViewControllerPtr& presenting,
                                                         const std::shared_ptr<QVAUserAccount>& account,
                                                         const std::shared_ptr<QVAUserAccount>& baseAccount,
                                                         const Text& eventId) {
    const Text token = account ? account->authenticationCode() : std::nullopt;
    ErrorPtr openError;
    StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
        token, eventId, [&openError](ErrorPtr error, std::shared_ptr<CoreDataStack>) { openError = std::move(error); });
    if (openError) {
        showAlert(kSwitchFailedTitle, [] { clearAndShowLogin(); });
        return;
    }
    if (baseAccount) ApplicationSettingsStore::sharedApplicationSettingsStore().setBaseUserWhenSwitchToDelegate(baseAccount);
    if (!presenting) return;
    if (Utils::isIPad()) {
        auto split = std::dynamic_pointer_cast<EventsSplitViewController>(presenting);
        if (!split) split = std::dynamic_pointer_cast<EventsSplitViewController>(presenting->splitViewController());
        if (split) split->showLoadingControllerForUserAccount(account, eventId);
        return;
    }
    // The phone loads the account's current meeting, whatever was asked.
    presenting->presentViewController(instantiateViewControllerWithAccount(account), true);
}

void LoadingViewController::installLoadingScreenHook() {
    LoadingScreenHook::setLoader([](const std::shared_ptr<QVAUserAccount>& account, const std::string& eventId) {
        auto window = uikit::UIApplication::sharedApplication().keyWindow();
        auto root = window ? window->rootViewController() : nullptr;
        auto loading = instantiateViewControllerWithAccount(account, eventId);
        if (root && loading) root->presentViewController(loading, true);
    });
}

// --- Background ---

std::string LoadingViewController::backgroundImageNameForOrientation(uikit::UIInterfaceOrientation orientation) {
    if (Utils::isIPad())
        return uikit::UIInterfaceOrientationIsLandscape(orientation) ? "loading_landscape_ipad.png"
                                                                     : "loading_portrait_ipad.png";
    const double height = uikit::UIScreen::mainScreen().bounds().size.height;
    if (std::fabs(height - 568.0) < DBL_EPSILON) return "loading_portrait_iphone-568h.png";
    const bool phone = uikit::UIDevice::currentDevice().userInterfaceIdiom() == uikit::UIUserInterfaceIdiom::Phone;
    if (phone && height == 667.0) return "loading_portrait_iphone-667h.png";
    if (phone && height == 736.0) return "loading_portrait_iphone-736h.png";
    return "loading_portrait_iphone.png";
}

void LoadingViewController::setBackgroundForOrientation(uikit::UIInterfaceOrientation orientation) {
    if (!backgroundView_) return;
    const auto name = backgroundImageNameForOrientation(orientation);
    auto image = uikit::UIImage::imageNamed(name);
    // Without the picture among the resources the panel keeps its dark
    // ground; the name stays readable in the screen dump.
    backgroundView_->setImage(image);
    backgroundImageName_ = name;
}

// --- Views ---

void LoadingViewController::loadView() {
    const auto bounds = uikit::UIScreen::mainScreen().bounds();
    auto root = std::make_shared<uikit::UIView>(bounds);
    root->setBackgroundColor(graphics::Color::rgb(0.12, 0.14, 0.18));

    containerForSpotlight_ = makeContainer(bounds, "containerForSpotlight");
    containerForLoading_ = makeContainer(bounds, "containerForLoading");
    containerForTutorial_ = makeContainer(bounds, "containerForTutorial");

    backgroundView_ = std::make_shared<uikit::UIImageView>(bounds);
    backgroundView_->setAutoresizingMask(kFlexibleSize);
    backgroundView_->setOutletName(std::string("backgroundView"));
    containerForLoading_->setBackgroundColor(graphics::Color::rgb(0.12, 0.14, 0.18));
    containerForLoading_->addSubview(backgroundView_);

    loadingPercentLabel_ = std::make_shared<uikit::UILabel>(graphics::Rect{
        {0, bounds.size.height - kPercentLabelBottomMargin - kPercentLabelHeight}, {bounds.size.width, kPercentLabelHeight}});
    loadingPercentLabel_->setOutletName(std::string("loadingPercentLabel"));
    loadingPercentLabel_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth |
                                              uikit::UIViewAutoresizingFlexibleTopMargin);
    loadingPercentLabel_->setTextAlignment(uikit::NSTextAlignment::Center);
    loadingPercentLabel_->setTextColor(uikit::UIColor::whiteColor());
    loadingPercentLabel_->setFont(uikit::UIFont::systemFontOfSize(kPercentFontSize));
    containerForLoading_->addSubview(loadingPercentLabel_);

    // The tab bar's view goes beneath the panel and the tutorial.
    root->addSubview(containerForSpotlight_);
    root->addSubview(containerForLoading_);
    root->addSubview(containerForTutorial_);
    setView(root);
}

void LoadingViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    startTutorial_ = std::make_shared<QVAStartTutorialViewController>();
    setBackgroundForOrientation(uikit::UIApplication::sharedApplication().statusBarOrientation());

    std::weak_ptr<LoadingViewController> weakSelf =
        std::static_pointer_cast<LoadingViewController>(shared_from_this());
    const Text requested = eventId_ && eventId_->empty() ? std::nullopt : eventId_;
    const Text token = currentUserAccount_ ? currentUserAccount_->authenticationCode() : std::nullopt;
    QVAApiManager::sharedApiManager().getEventWithId(
        requested, token, [weakSelf](const ErrorPtr& error, const foundation::Value& result) {
            auto self = weakSelf.lock();
            if (!self) return;
            auto event = result.objectAs<QVAEvent>();
            if (error || !event) {
                self->handleError(error, kLoadingFailedTitle, std::nullopt);
                LoginViewController::navigate();
                return;
            }
            const Text userToken =
                self->currentUserAccount_ ? self->currentUserAccount_->authenticationCode() : std::nullopt;
            // The store answers before the call returns; the download starts
            // once it has returned, outside the store's own bookkeeping.
            ErrorPtr openError;
            StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
                userToken, event->itemId(),
                [&openError](ErrorPtr opened, std::shared_ptr<CoreDataStack>) { openError = std::move(opened); });
            if (openError) {
                Utils::handleError(openError, kLoadingFailedTitle, std::nullopt);
                return;
            }
            self->loadAllDataForAccount(self->currentUserAccount_, event);
        });
}

void LoadingViewController::viewWillAppear(bool animated) {
    if (ApplicationSettingsStore::sharedApplicationSettingsStore().settingsShowTutorial() && startTutorial_ &&
        containerForTutorial_) {
        auto tutorialView = startTutorial_->view();
        tutorialView->setFrame(containerForTutorial_->bounds());
        tutorialView->setAutoresizingMask(kFlexibleSize);
        // A child, so that it appears with this screen and hides the status
        // bar over its progress and Skip, as it does when opened from Help.
        addChildViewController(startTutorial_);
        containerForTutorial_->addSubview(tutorialView);
        startTutorial_->didMoveToParentViewController(this);
        // Its own controls are placed by its layout pass, which a plain
        // subview would otherwise wait for.
        tutorialView->setNeedsLayout();
        tutorialView->layoutIfNeeded();
    }
    BaseViewController::viewWillAppear(animated);
}

void LoadingViewController::willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation,
                                                                        double duration) {
    BaseViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    setBackgroundForOrientation(orientation);
}

bool LoadingViewController::shouldAutorotate() const { return Utils::isIPad(); }

// --- Download ---

void LoadingViewController::loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                  const std::shared_ptr<QVAEvent>& event) {
    std::weak_ptr<LoadingViewController> weakSelf =
        std::static_pointer_cast<LoadingViewController>(shared_from_this());
    EventLoader::loadAllDataForAccount(
        account, event,
        [weakSelf](int32_t finished, int32_t total, const Text&) {
            if (auto self = weakSelf.lock())
                self->showProgress(static_cast<uint32_t>(finished), static_cast<uint32_t>(total));
        },
        [weakSelf, account, event](const ErrorPtr& error) {
            if (auto self = weakSelf.lock()) self->downloadFinished(account, event, error);
        },
        shouldClearCacheAndReloadContent_);
}

void LoadingViewController::showProgress(uint32_t finished, uint32_t total) {
    const float ratio = static_cast<float>(finished) / static_cast<float>(total);
    if (loadingPercentLabel_) loadingPercentLabel_->setText(foundation::Format("%.f%%", ratio * 100));
    if (startTutorial_) startTutorial_->progressAt(ratio);
}

void LoadingViewController::downloadFinished(const std::shared_ptr<QVAUserAccount>& account,
                                             const std::shared_ptr<QVAEvent>& event, const ErrorPtr& error) {
    // The loader has kept the books; an error here is an important failure.
    if (!error) {
        navigateWithCheckForTutorial();
        return;
    }
    if (shouldClearCacheAndReloadContent_) {
        clearCacheErrorLogicForUserAccount(account, event);
        return;
    }
    showImportantFailureAlert();
}

void LoadingViewController::showImportantFailureAlert() {
    showAlert(kLoadingFailedTitle, [] {
        // The settings still name the account and meeting of before this load.
        auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
        auto previousAccount = settings.currentAccount();
        if (!previousAccount) {
            clearAndShowLogin();
            return;
        }
        auto previousEvent = settings.currentEvent();
        StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
            previousAccount->authenticationCode(), previousEvent ? previousEvent->itemId() : std::nullopt,
            [](ErrorPtr, std::shared_ptr<CoreDataStack>) {});
        AnalyticsUtils::registerSuperProperties();
        navigateToMainScreens();
    });
}

void LoadingViewController::clearCacheErrorLogicForUserAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                               const std::shared_ptr<QVAEvent>& event) {
    const Text token = account ? account->authenticationCode() : std::nullopt;
    const Text eventId = event ? event->itemId() : std::nullopt;
    auto& storage = StorageManager::sharedStorageManager();
    if (!storage.revertCopyPersistentStoreFileForAuthToken(token, eventId)) {
        showAlert(kReloadFailedTitle, [] { clearAndShowLogin(); });
        return;
    }
    const Text screenToken = currentUserAccount_ ? currentUserAccount_->authenticationCode() : std::nullopt;
    ErrorPtr openError;
    storage.initCoreDataStackForAuthToken(screenToken, eventId, [&openError](ErrorPtr error, std::shared_ptr<CoreDataStack>) {
        openError = std::move(error);
    });
    if (openError) {
        showAlert(kReloadFailedTitle, [] { clearAndShowLogin(); });
        return;
    }
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    // The copy back in place is the store as it was, complete or not.
    settings.restorePersistentStoresValidityBeforeReload();
    settings.setCurrentAccount(currentUserAccount_);
    settings.setCurrentEvent(event);
    showAlert(kClearCacheFailedTitle, [] { navigateToMainScreens(); });
}

// --- The slide ---

void LoadingViewController::navigateWithCheckForTutorial() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto mainScreens = storyboard->instantiateViewControllerWithIdentifier(EventsTabBarController::kStoryboardIdentifier);
    if (!mainScreens) return;
    // Laid out as the window's root will be, its bars below the status bar
    // (which the tutorial may hide for now: it shows again with the root).
    containerForSpotlight_->addSubview(mainScreens->view());
    placeView(*mainScreens, containerForSpotlight_->bounds(), {uikit::UIContainerLayout::kStatusBarHeight, 0, 0, 0});

    const double height = view()->bounds().size.height;
    std::weak_ptr<LoadingViewController> weakSelf =
        std::static_pointer_cast<LoadingViewController>(shared_from_this());
    uikit::UIView::animateWithDuration(
        kSlideDuration, kSlideDelay, uikit::UIViewAnimationOptionLayoutSubviews,
        [weakSelf, height] {
            auto self = weakSelf.lock();
            if (!self) return;
            self->containerForLoading_->setTransform(graphics::AffineTransform::makeTranslation(0, -height));
            self->containerForTutorial_->setTransform(graphics::AffineTransform::makeTranslation(0, height));
        },
        [weakSelf, mainScreens](bool) {
            auto self = weakSelf.lock();
            if (self) {
                // The tutorial leaves with its container: the status bar shows again.
                if (const auto& tutorial = self->startTutorial_; tutorial && tutorial->parentViewController()) {
                    tutorial->beginAppearanceTransition(false, false);
                    tutorial->endAppearanceTransition();
                    tutorial->removeFromParentViewController();
                }
                for (const auto& container : {self->containerForSpotlight_, self->containerForTutorial_})
                    for (const auto& subview : std::vector<std::shared_ptr<uikit::UIView>>(container->subviews()))
                        subview->removeFromSuperview();
            }
            // On the pad the installed split view is the delegate's, and the
            // one it replaces lets go of its popover menu and delegate, as
            // every other switch of the root does.
            auto appDelegate = AppDelegate::sharedAppDelegate();
            auto split = std::dynamic_pointer_cast<EventsSplitViewController>(mainScreens);
            if (appDelegate && Utils::isIPad()) {
                if (auto previous = appDelegate->eventsSplitVC()) {
                    previous->setLeftPopoverMenuController(nullptr);
                    previous->setDelegate(nullptr);
                    appDelegate->setEventsSplitVC(nullptr);
                }
            }
            uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(mainScreens);
            if (appDelegate && split) appDelegate->setEventsSplitVC(split);
        });
}

// --- Dump ---

std::vector<std::pair<std::string, std::string>> LoadingViewController::screenDescriptionItems() const {
    std::vector<std::pair<std::string, std::string>> items;
    const auto user = currentUserAccount_ ? currentUserAccount_->email() : std::nullopt;
    items.emplace_back("account", user.value_or("nil"));
    items.emplace_back("eventId", eventId_.value_or("nil"));
    if (shouldClearCacheAndReloadContent_) items.emplace_back("mode", "clear cache and reload");
    if (!backgroundImageName_.empty()) items.emplace_back("background", backgroundImageName_);
    return items;
}
