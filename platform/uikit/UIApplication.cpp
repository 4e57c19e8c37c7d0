// The application object's state: key window, delegate and lifecycle, status
// bar, recorded registrations and opened URLs.
#include "uikit/UIApplication.h"

#include <algorithm>
#include <cctype>

#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "uikit/AlertStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

namespace uikit {

const char* const UIApplicationWillEnterForegroundNotification = "UIApplicationWillEnterForegroundNotification";
const char* const UIApplicationDidReceiveMemoryWarningNotification = "UIApplicationDidReceiveMemoryWarningNotification";

namespace {

void requireMainForApplication() { foundation::requireMainThread("UIApplication is used from the main thread only"); }

std::vector<std::string> defaultOpenableURLSchemes() { return {"http", "https", "mailto", "tel"}; }
}  // namespace

UIApplication::UIApplication() : openableSchemes_(defaultOpenableURLSchemes()) { UIKeyboard::observe(); }

UIApplication& UIApplication::sharedApplication() {
    static UIApplication application;
    return application;
}

UIWindowPtr UIApplication::keyWindow() const {
    requireMainForApplication();
    // Made on first use: the window asks the screen, which asks the application.
    if (!keyWindow_) keyWindow_ = std::make_shared<UIWindow>();
    return keyWindow_;
}

void UIApplication::setKeyWindow(UIWindowPtr window) {
    requireMainForApplication();
    if (window) keyWindow_ = std::move(window);
}

// The lifecycle.

void UIApplication::launch(std::shared_ptr<UIApplicationDelegate> delegate, const foundation::Value& launchOptions) {
    requireMainForApplication();
    delegate_ = std::move(delegate);
    state_ = UIApplicationState::Inactive;
    if (auto d = delegate_) d->applicationDidFinishLaunchingWithOptions(*this, launchOptions);
    foundation::RunLoop::main().post([this] {
        state_ = UIApplicationState::Active;
        if (auto d = delegate_) d->applicationDidBecomeActive(*this);
    });
}

void UIApplication::enterBackground() {
    requireMainForApplication();
    if (auto d = delegate_) d->applicationWillResignActive(*this);
    state_ = UIApplicationState::Background;
    if (auto d = delegate_) d->applicationDidEnterBackground(*this);
}

void UIApplication::enterForeground() {
    requireMainForApplication();
    if (auto d = delegate_) d->applicationWillEnterForeground(*this);
    foundation::NotificationCenter::defaultCenter().postNotificationName(UIApplicationWillEnterForegroundNotification);
    state_ = UIApplicationState::Active;
    if (auto d = delegate_) d->applicationDidBecomeActive(*this);
}

void UIApplication::terminate() {
    requireMainForApplication();
    if (auto d = delegate_) d->applicationWillTerminate(*this);
}

void UIApplication::simulateMemoryWarning() {
    requireMainForApplication();
    foundation::NotificationCenter::defaultCenter().postNotificationName(
        UIApplicationDidReceiveMemoryWarningNotification);
}

UIInterfaceOrientationMask UIApplication::supportedInterfaceOrientationsForWindow(UIWindow* window) {
    requireMainForApplication();
    if (auto d = delegate_) return d->applicationSupportedInterfaceOrientationsForWindow(*this, window);
    return UIInterfaceOrientationMaskAll;
}

// The status bar.

void UIApplication::setStatusBarStyle(UIStatusBarStyle style, bool /*animated*/) {
    requireMainForApplication();
    statusBarStyle_ = style;
}

void UIApplication::setStatusBarHidden(bool hidden, UIStatusBarAnimation animation) {
    requireMainForApplication();
    const bool shows = statusBarHidden_ && !hidden;
    statusBarHidden_ = hidden;
    statusBarAnimation_ = animation;
    // The bars of the screens below move down under the strip: the root's
    // containers lay their children out again with the new inset (one laid
    // out while the strip was hidden, by a rotation say, would leave its bars
    // under the strip).
    if (!shows) return;
    auto root = keyWindow_ ? keyWindow_->rootViewController() : nullptr;
    if (root && root->isViewLoaded()) {
        root->view()->setNeedsLayout();
        root->view()->layoutIfNeeded();
    }
}

void UIApplication::setStatusBarOrientation(UIInterfaceOrientation orientation) {
    requireMainForApplication();
    statusBarOrientation_ = orientation;
}

graphics::Rect UIApplication::statusBarFrame() const {
    requireMainForApplication();
    if (statusBarHidden_) return graphics::Rect::zero();
    return {0, 0, UIScreen::mainScreen().bounds().width(), 20};
}

void UIApplication::registerUserNotificationSettings(UIUserNotificationType types) {
    requireMainForApplication();
    notificationTypes_ = types;
}

// Alerts and URLs.

std::vector<std::shared_ptr<UIAlertView>> UIApplication::visibleAlerts() const {
    requireMainForApplication();
    return AlertStack::shared().alertViews();
}

bool UIApplication::openURL(const foundation::URL& url) {
    requireMainForApplication();
    openedURLs_.push_back(url);
    return true;
}

std::vector<foundation::URL> UIApplication::openedURLs() const {
    requireMainForApplication();
    return openedURLs_;
}

bool UIApplication::canOpenURL(const foundation::URL& url) {
    requireMainForApplication();
    queriedURLs_.push_back(url);
    auto scheme = url.scheme().value_or(std::string());
    for (auto& c : scheme) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (scheme.empty()) return false;
    const auto& schemes = openableSchemes_;
    return std::find(schemes.begin(), schemes.end(), scheme) != schemes.end();
}

std::vector<foundation::URL> UIApplication::queriedURLs() const {
    requireMainForApplication();
    return queriedURLs_;
}

void UIApplication::setOpenableURLSchemes(std::vector<std::string> schemes) {
    requireMainForApplication();
    openableSchemes_ = std::move(schemes);
}

void UIApplication::resetForTests() {
    requireMainForApplication();
    AlertStack::shared().reset();
    if (auto responder = UIResponder::currentFirstResponder()) responder->forceResignFirstResponder();
    UIKeyboard::resetForTests();
    delegate_.reset();
    state_ = UIApplicationState::Inactive;
    openedURLs_.clear();
    queriedURLs_.clear();
    openableSchemes_ = defaultOpenableURLSchemes();
    notificationTypes_.reset();
    statusBarStyle_ = UIStatusBarStyle::Default;
    statusBarHidden_ = false;
    statusBarAnimation_ = UIStatusBarAnimation::None;
    networkActivityIndicatorVisible_ = false;
    endAllBackgroundTasks();
    keyWindow_.reset();
    DeviceProfile::apply(DeviceProfile::defaultProfile());
}

}  // namespace uikit
