// The application object: the key window, the delegate and the lifecycle,
// the status bar, the alerts on screen and the URLs handed to other
// applications. With no screen to look at, the visible alerts are kept as a
// stack (the newest on top) that tests read and tap, every openURL and
// notification registration is recorded instead of leaving the application,
// and the lifecycle moves are operations tests and the app mode call.
// Main thread only: a call from elsewhere is a programming error and raises;
// the background tasks alone may be begun and ended from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/URL.h"
#include "graphics/Geometry.h"
#include "uikit/UIApplicationDelegate.h"
#include "uikit/UIWindow.h"

namespace uikit {

class UIAlertView;

enum class UIApplicationState { Active, Inactive, Background };
enum class UIStatusBarStyle { Default = 0, LightContent = 1 };
enum class UIStatusBarAnimation { None = 0, Fade = 1, Slide = 2 };
using UIUserNotificationType = unsigned;
inline constexpr UIUserNotificationType UIUserNotificationTypeNone = 0;
inline constexpr UIUserNotificationType UIUserNotificationTypeBadge = 1 << 0;
inline constexpr UIUserNotificationType UIUserNotificationTypeSound = 1 << 1;
inline constexpr UIUserNotificationType UIUserNotificationTypeAlert = 1 << 2;

// A background task of the application; 0 is none.
using UIBackgroundTaskIdentifier = uint64_t;
inline constexpr UIBackgroundTaskIdentifier UIBackgroundTaskInvalid = 0;

extern const char* const UIApplicationWillEnterForegroundNotification;
extern const char* const UIApplicationDidReceiveMemoryWarningNotification;

class UIApplication {
public:
    static UIApplication& sharedApplication();
    UIApplication(const UIApplication&) = delete;
    UIApplication& operator=(const UIApplication&) = delete;

    // Never null: a window exists from the start, without root view controller.
    UIWindowPtr keyWindow() const;

    // The application keeps its delegate.
    std::shared_ptr<UIApplicationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<UIApplicationDelegate> delegate) { delegate_ = std::move(delegate); }
    UIApplicationState applicationState() const { return state_; }

    // The start of the app and of the command-line app mode: sets the
    // delegate, tells it did-finish-launching at once and did-become-active
    // on the next turn of the main run loop.
    void launch(std::shared_ptr<UIApplicationDelegate> delegate, const foundation::Value& launchOptions = {});
    // Will-resign-active, then did-enter-background.
    void enterBackground();
    // Will-enter-foreground (with "UIApplicationWillEnterForegroundNotification"
    // posted on the default centre), then did-become-active.
    void enterForeground();
    // Will-terminate; the application stays usable for tests.
    void terminate();
    // Posts "UIApplicationDidReceiveMemoryWarningNotification".
    void simulateMemoryWarning();
    // Asks the delegate (every orientation without one).
    UIInterfaceOrientationMask supportedInterfaceOrientationsForWindow(UIWindow* window);

    // The status bar.
    UIStatusBarStyle statusBarStyle() const { return statusBarStyle_; }
    void setStatusBarStyle(UIStatusBarStyle style, bool animated = false);
    bool isStatusBarHidden() const { return statusBarHidden_; }
    void setStatusBarHidden(bool hidden, UIStatusBarAnimation animation = UIStatusBarAnimation::None);
    // The animation of the last hide or show.
    UIStatusBarAnimation statusBarHiddenAnimation() const { return statusBarAnimation_; }
    UIInterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
    void setStatusBarOrientation(UIInterfaceOrientation orientation);
    // Across the top of the screen, 20 high; zero while hidden.
    graphics::Rect statusBarFrame() const;
    bool isNetworkActivityIndicatorVisible() const { return networkActivityIndicatorVisible_; }
    void setNetworkActivityIndicatorVisible(bool visible) { networkActivityIndicatorVisible_ = visible; }

    // Recorded: the types of the last registration, none before one.
    void registerUserNotificationSettings(UIUserNotificationType types);
    std::optional<UIUserNotificationType> registeredUserNotificationTypes() const { return notificationTypes_; }

    // The alerts on screen, the oldest first; the last one is in front.
    std::vector<std::shared_ptr<UIAlertView>> visibleAlerts() const;

    // Recorded; there is no other application to open it. Always YES.
    bool openURL(const foundation::URL& url);
    std::vector<foundation::URL> openedURLs() const;
    // Recorded; YES when the address's scheme (lower case) is one of
    // setOpenableURLSchemes, by default "http", "https", "mailto" and "tel".
    bool canOpenURL(const foundation::URL& url);
    std::vector<foundation::URL> queriedURLs() const;
    void setOpenableURLSchemes(std::vector<std::string> schemes);

    // Background tasks (UIApplication_BackgroundTasks.cpp): time asked for
    // to finish work. Identifiers count up from 1; ending one that is not
    // live (or UIBackgroundTaskInvalid) does nothing.
    UIBackgroundTaskIdentifier beginBackgroundTaskWithExpirationHandler(std::function<void()> handler);
    void endBackgroundTask(UIBackgroundTaskIdentifier identifier);
    // The tasks begun and not yet ended, oldest first.
    std::vector<UIBackgroundTaskIdentifier> backgroundTasks() const;
    // The system taking the time back (tests and the app mode's "background"
    // command): on the main thread, each live task's handler runs, oldest
    // first; then every task of them still live is ended.
    void expireBackgroundTasks();

    // For tests: a fresh key window, no alerts, no delegate, no recorded
    // URLs, the default openable schemes, the status bar as at launch, no first responder, no keyboard,
    // the default device profile, and no background tasks.
    void resetForTests();

private:
    UIApplication();
    friend class UIWindow;

    void setKeyWindow(UIWindowPtr window);
    void endAllBackgroundTasks();

    // Made by keyWindow() on first use.
    mutable UIWindowPtr keyWindow_;
    std::shared_ptr<UIApplicationDelegate> delegate_;
    UIApplicationState state_ = UIApplicationState::Inactive;
    UIStatusBarStyle statusBarStyle_ = UIStatusBarStyle::Default;
    bool statusBarHidden_ = false;
    UIStatusBarAnimation statusBarAnimation_ = UIStatusBarAnimation::None;
    UIInterfaceOrientation statusBarOrientation_ = UIInterfaceOrientation::Portrait;
    bool networkActivityIndicatorVisible_ = false;
    std::optional<UIUserNotificationType> notificationTypes_;
    std::vector<foundation::URL> openedURLs_;
    std::vector<foundation::URL> queriedURLs_;
    std::vector<std::string> openableSchemes_;
};

}  // namespace uikit
