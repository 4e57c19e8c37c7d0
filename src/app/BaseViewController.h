// The common base of the application's screens. It gives every screen the
// store stack and access token of the current account and meeting (read
// afresh at every access, never cached), creation from the device's
// storyboard by the class's scene identifier, a network-status hook and a
// foreground hook, a progress overlay, an empty-result label, going home and
// going back, error reporting and the shell's rotation rules.
//
// A subclass that overrides viewDidLoad or awakeFromNib calls the base
// first: the observers are registered and the title set there. Main thread
// only, except the network-status observer, which moves itself to the main
// queue before any hook runs.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "uikit/UIViewController.h"

class CoreDataStack;
class EventsTabBarController;

namespace uikit {
class UIActivityIndicatorView;
class UIImage;
class UILabel;
class UISplitViewController;
class UIView;
}  // namespace uikit

namespace foundation {
struct Notification;
}

class BaseViewController : public uikit::UIViewController {
public:
    using Text = std::optional<std::string>;

    // The notification the network monitor posts, and its two objects.
    static constexpr const char* kNetworkStatusNotification = "qvaNetworkStatus";
    static constexpr const char* kNetworkOnline = "qvaNetworkOnline";
    static constexpr const char* kNetworkOffline = "qvaNetworkOffline";
    // The segue the pad's go-home builds in code; subclasses may prepare the
    // new home screen under it in prepareForSegue.
    static constexpr const char* kGoHomeSegueIpad = "goHomeSegueIpad";
    static constexpr const char* kSpotlightNavigationControllerForGoHome = "SpotlightNavigationControllerForGoHome";

    explicit BaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~BaseViewController() override;

    // --- Creation from the device's storyboard ---
    // The scene identifier of the class; none in the base. Each screen made
    // from the storyboard hides this with its own.
    static Text storyboardIdentifier() { return std::nullopt; }
    // The scene of that identifier from the device's storyboard. No
    // identifier names no scene: the storyboard raises.
    static uikit::UIViewControllerPtr instantiateViewControllerWithStoryboardIdentifier(const Text& identifier);
    // The scene named by T's identifier, as a T (null when the scene is of
    // another class).
    template <class T>
    static std::shared_ptr<T> instantiateViewController() {
        return std::dynamic_pointer_cast<T>(instantiateViewControllerWithStoryboardIdentifier(T::storyboardIdentifier()));
    }

    // --- The current account and meeting ---
    // The store stack of the current account and meeting; null when none is open.
    std::shared_ptr<CoreDataStack> coreDataStack() const;
    // The current account's access token.
    Text authenticationCode() const;

    // --- Overridden by subclasses ---
    // Read once, at awakeFromNib, into the title. The base answers the stored value.
    virtual Text vcTitle() const { return vcTitle_; }
    // The image of the screen's segment in a segmented navigation; none in the base.
    virtual std::shared_ptr<uikit::UIImage> segmentedControlImage() { return nullptr; }
    // On the main thread after each network-status notification.
    virtual void onNetworkStatusChanged(bool online) { (void)online; }
    virtual void onApplicationWillEnterForeground() {}
    // Called when the screen is shown inside a segmented navigation. The base
    // only reminds that the screen reports nothing.
    virtual void trackAnalyticsEvent();
    // The home screen's cell layout: 0 on the phone and inside the tab bar on
    // the pad; else 1 in portrait and 2 in landscape.
    virtual int cellsAvailableSizePattern() const;
    // 26 and autorotation on the pad; 2 and none on the phone.
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;

    // --- Progress overlay and empty-result label ---
    // At most one overlay: on the navigation controller's view when there is one.
    void startProgress();
    void stopProgress();
    void showNoResultsLabelWithText(const std::string& text);
    void removeNoResultsLabel();
    const std::shared_ptr<uikit::UIView>& loadingView() const { return loadingView_; }
    const std::shared_ptr<uikit::UIActivityIndicatorView>& activityIndicatorView() const {
        return activityIndicatorView_;
    }
    const std::shared_ptr<uikit::UILabel>& noResultsLabel() const { return noResultsLabel_; }

    // --- Navigation ---
    // The main tab bar: on the pad the first controller of the screen's split
    // view, on the phone the screen's tab bar controller.
    std::shared_ptr<EventsTabBarController> eventsTabBarController() const;
    // On the pad: the split view among the parents, else the application's.
    std::shared_ptr<uikit::UISplitViewController> shellSplitViewController() const;
    // A bar button's action: goAtHomeHome YES.
    void goHome(const foundation::ObjectPtr& sender);
    // The phone pops to the stack's root and shows the home tab; the pad puts
    // a new home navigation controller in the split view's detail through the
    // segue "goHomeSegueIpad" (shown to prepareForSegue first) and, with the
    // flag, selects the sessions tab.
    void goAtHomeHome(bool alsoShowSessionsTab);
    // Pops the screen, or goes home when it is the root of its stack.
    void goBack();
    void handleError(const foundation::ErrorPtr& error, const std::string& title, const Text& message);

    void awakeFromNib() override;
    void viewDidLoad() override;
    std::string className() const override { return "BaseViewController"; }

protected:
    // What the base's vcTitle answers.
    void setVcTitle(Text title) { vcTitle_ = std::move(title); }

private:
    void networkStatusChanged(const foundation::Notification& notification);

    Text vcTitle_;
    std::shared_ptr<uikit::UIView> loadingView_;
    std::shared_ptr<uikit::UIActivityIndicatorView> activityIndicatorView_;
    std::shared_ptr<uikit::UILabel> noResultsLabel_;
    bool observing_ = false;
    // The class name for the teardown line, which cannot ask a class already
    // torn down to its base; taken whenever the screen is set up.
    std::string deallocName_ = "BaseViewController";
};

using BaseViewControllerPtr = std::shared_ptr<BaseViewController>;
