#include "app/BaseViewController.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "analytics/AnalyticsUtils.h"
#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "app/ShellOrientation.h"
#include "lists/ListBaseViewController.h"
#include "lists/ListsDataSourceProtocol.h"
#include "Utils/Utils.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/Thread.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"
#include "uikit/NSParagraphStyle.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITabBarController.h"
#include "uikit/UIView.h"

namespace {

constexpr double kOverlayAlpha = 0.6;
constexpr double kNoResultsMargin = 20;
constexpr double kNoResultsFontSize = 18;

std::shared_ptr<BaseViewController> screenOf(const std::weak_ptr<foundation::Object>& weak) {
    return std::dynamic_pointer_cast<BaseViewController>(weak.lock());
}

}  // namespace

BaseViewController::BaseViewController(std::optional<std::string> nibName)
    : uikit::UIViewController(std::move(nibName)) {}

BaseViewController::~BaseViewController() {
    if (observing_) foundation::NotificationCenter::defaultCenter().removeObserver(this);
    foundation::Log("Called dealloc %@", deallocName_);
}

uikit::UIViewControllerPtr BaseViewController::instantiateViewControllerWithStoryboardIdentifier(const Text& identifier) {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    return storyboard->instantiateViewControllerWithIdentifier(identifier.value_or(std::string()));
}

std::shared_ptr<CoreDataStack> BaseViewController::coreDataStack() const {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    return StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(settings.currentAuthToken(),
                                                                               settings.currentEventId());
}

BaseViewController::Text BaseViewController::authenticationCode() const {
    return ApplicationSettingsStore::sharedApplicationSettingsStore().currentAuthToken();
}

void BaseViewController::awakeFromNib() {
    uikit::UIViewController::awakeFromNib();
    deallocName_ = className();
    setTitle(vcTitle());
}

void BaseViewController::viewDidLoad() {
    uikit::UIViewController::viewDidLoad();
    deallocName_ = className();
    if (observing_) return;
    observing_ = true;
    auto& center = foundation::NotificationCenter::defaultCenter();
    // The handlers hold the screen weakly and touch it on the main thread
    // only: a status posted from a worker is sent on to the main queue
    // without waiting, and the screen may be gone by the time it arrives.
    const std::weak_ptr<foundation::Object> weak = weak_from_this();
    center.addObserver(
        this,
        [weak](const foundation::Notification& notification) {
            if (!foundation::isMainThread()) {
                dispatch::Queue::main()->async([weak, notification] {
                    if (auto screen = screenOf(weak)) screen->networkStatusChanged(notification);
                });
                return;
            }
            if (auto screen = screenOf(weak)) screen->networkStatusChanged(notification);
        },
        kNetworkStatusNotification);
    center.addObserver(
        this,
        [weak](const foundation::Notification&) {
            if (auto screen = screenOf(weak)) screen->onApplicationWillEnterForeground();
        },
        uikit::UIApplicationWillEnterForegroundNotification);
}

void BaseViewController::networkStatusChanged(const foundation::Notification& notification) {
    const auto* status = notification.object.string();
    if (!status) return;
    if (*status == kNetworkOnline)
        onNetworkStatusChanged(true);
    else if (*status == kNetworkOffline)
        onNetworkStatusChanged(false);
}

namespace {

// A list delegate's class: its own name when it is an object of the
// platform, else its C++ type.
std::string classNameOf(const ListsDataSourceProtocol& delegate) {
    if (auto* object = dynamic_cast<const foundation::Object*>(&delegate)) return object->className();
    const char* mangled = typeid(delegate).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    return name;
}

}  // namespace

void BaseViewController::trackAnalyticsEvent() {
    if (auto* list = dynamic_cast<ListBaseViewController*>(this)) {
        const auto& delegate = list->listDelegate();
        if (!delegate) {
            foundation::Log("getAnalyticsEventName not implemented in list delegate: %@", "(null)");
            return;
        }
        if (auto name = delegate->getAnalyticsEventName())
            AnalyticsUtils::trackEventWithName(*name);
        else
            foundation::Log("getAnalyticsEventName not implemented in list delegate: %@", classNameOf(*delegate));
        return;
    }
    foundation::Log("Implement trackAnalyticsEvent in %@", className());
}

int BaseViewController::cellsAvailableSizePattern() const {
    if (!Utils::isIPad() || tabBarController()) return 0;
    return uikit::UIInterfaceOrientationIsLandscape(interfaceOrientation()) ? 2 : 1;
}

uikit::UIInterfaceOrientationMask BaseViewController::supportedInterfaceOrientations() const {
    return ShellOrientation::supportedInterfaceOrientations();
}

bool BaseViewController::shouldAutorotate() const { return ShellOrientation::shouldAutorotate(); }

void BaseViewController::startProgress() {
    stopProgress();
    auto navigation = navigationController();
    const auto host = navigation ? navigation->view() : view();
    auto overlay = std::make_shared<uikit::UIView>(host->bounds());
    overlay->setBackgroundColor(uikit::UIColor::blackColor());
    overlay->setAlpha(kOverlayAlpha);
    overlay->setTranslatesAutoresizingMaskIntoConstraints(false);
    overlay->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);

    activityIndicatorView_ = std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::WhiteLarge);
    const auto bounds = overlay->bounds();
    activityIndicatorView_->setCenter({bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2});
    activityIndicatorView_->startAnimating();
    overlay->addSubview(activityIndicatorView_);

    host->addSubview(overlay);
    loadingView_ = overlay;
}

void BaseViewController::stopProgress() {
    if (!loadingView_ || !loadingView_->superview()) return;
    if (activityIndicatorView_) activityIndicatorView_->stopAnimating();
    loadingView_->removeFromSuperview();
    loadingView_ = nullptr;
}

void BaseViewController::showNoResultsLabelWithText(const std::string& text) {
    removeNoResultsLabel();
    const auto& screen = view();
    const auto size = screen->frame().size;
    auto label = std::make_shared<uikit::UILabel>(
        graphics::Rect{{kNoResultsMargin, 0}, {size.width - 2 * kNoResultsMargin, size.height}});
    label->setTextColor(uikit::UIColor::darkGrayColor());
    label->setFont(uikit::UIFont::systemFontOfSize(kNoResultsFontSize));
    label->setNumberOfLines(0);
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setLineBreakMode(uikit::NSLineBreakMode::ByWordWrapping);
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    label->setTranslatesAutoresizingMaskIntoConstraints(true);
    label->setText(text);
    screen->setAutoresizesSubviews(true);
    screen->addSubview(label);
    noResultsLabel_ = label;
}

void BaseViewController::removeNoResultsLabel() {
    if (!noResultsLabel_ || !noResultsLabel_->superview()) return;
    // Copied: removing them from the screen's view may change the label's list.
    const auto constraints = noResultsLabel_->constraints();
    view()->removeConstraints(constraints);
    noResultsLabel_->removeFromSuperview();
    noResultsLabel_ = nullptr;
}

std::shared_ptr<uikit::UISplitViewController> BaseViewController::shellSplitViewController() const {
    if (auto own = splitViewController()) return own;
    // A screen shown in a popover (the agenda's personal-entry form on the
    // pad) has no split view among its parents: the application's is its.
    if (auto delegate = AppDelegate::sharedAppDelegate()) return delegate->eventsSplitVC();
    return nullptr;
}

std::shared_ptr<EventsTabBarController> BaseViewController::eventsTabBarController() const {
    if (Utils::isIPad()) {
        auto split = shellSplitViewController();
        if (!split || split->viewControllers().empty()) return nullptr;
        return std::dynamic_pointer_cast<EventsTabBarController>(split->viewControllers().front());
    }
    return std::dynamic_pointer_cast<EventsTabBarController>(tabBarController());
}

void BaseViewController::goHome(const foundation::ObjectPtr& sender) {
    (void)sender;
    goAtHomeHome(true);
}

void BaseViewController::goAtHomeHome(bool alsoShowSessionsTab) {
    if (!Utils::isIPad()) {
        auto tabBar = eventsTabBarController();
        if (auto navigation = navigationController()) navigation->popToRootViewControllerAnimated(false);
        if (tabBar) tabBar->displaySpotlightTabIphone();
        return;
    }
    auto home = instantiateViewControllerWithStoryboardIdentifier(std::string(kSpotlightNavigationControllerForGoHome));
    auto tabBar = eventsTabBarController();
    std::weak_ptr<uikit::UISplitViewController> split = shellSplitViewController();
    const std::weak_ptr<uikit::UIViewController> weakHome = home;
    auto self = std::static_pointer_cast<uikit::UIViewController>(shared_from_this());
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier(
        kGoHomeSegueIpad, self, home, [split, tabBar, weakHome, alsoShowSessionsTab] {
            auto splitView = split.lock();
            auto newHome = weakHome.lock();
            if (!splitView || !newHome) return;
            std::vector<uikit::UIViewControllerPtr> controllers;
            if (tabBar) controllers.push_back(tabBar);
            controllers.push_back(newHome);
            splitView->setViewControllers(std::move(controllers));
            if (alsoShowSessionsTab && tabBar) tabBar->displaySessionsTab();
            splitView->setPresentsWithGesture(true);
        });
    prepareForSegue(*segue, shared_from_this());
    segue->perform();
}

void BaseViewController::goBack() {
    auto navigation = navigationController();
    if (navigation && !navigation->viewControllers().empty() && navigation->viewControllers().front().get() != this) {
        navigation->popViewControllerAnimated(true);
        return;
    }
    goAtHomeHome(false);
}

void BaseViewController::handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message) {
    Utils::handleError(error, title, message);
}
