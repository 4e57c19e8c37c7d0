// The application's delegate: the start-up sequence (crash reporting,
// analytics, the network indicators, the appearance, the forced logout
// after a major update, and the choice between the stored account's screens
// and the login screen), the lifecycle's steps, and what the shell reaches
// through the shared application — the window and the pad's root split view.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIApplicationDelegate.h"
#include "uikit/UIResponder.h"

class EventsSplitViewController;
enum class QNNetworkReachabilityStatus : int64_t;

namespace uikit {
class UIWindow;
}

class AppDelegate : public uikit::UIResponder, public uikit::UIApplicationDelegate {
public:
    std::string className() const override { return "AppDelegate"; }

    // Builds older than this are logged out at their first launch of a newer one.
    static constexpr const char* kMajorUpdateVersion = "3.4";
    static constexpr const char* kForcedLogoutMessage =
        "You have been logged out due to a major update of our platform.\n We apologise for the inconvenience, "
        "please log in again.";
    static constexpr const char* kStoreFailureTitle = "Unable to start the application properly.";
    static constexpr const char* kStoreFailureMessage = "Please close the application and try to reopen it.";
    static constexpr const char* kStartAppEvent = "Start app";
    static constexpr const char* kStopAppEvent = "Stop app";
    static constexpr const char* kInterruptedReloadRevertedLog =
        "The content reload did not end: the meeting's content of before it is back";
    static constexpr const char* kInterruptedReloadAgainLog =
        "The content reload did not end: the meeting is loaded again";

    // The shared application's delegate, when it is an AppDelegate.
    static std::shared_ptr<AppDelegate> sharedAppDelegate();

    // Whether a launch finding these stored versions logs the user out: an
    // old build's plain version without the archived one, or an archived
    // version whose dotted numbers order before the major update's.
    static bool isForcedLogoutDue(const std::optional<std::string>& oldStoredVersion,
                                  const std::optional<std::string>& storedVersion);

    // The reachability block: "qvaNetworkStatus" with "qvaNetworkOffline"
    // for no network, "qvaNetworkOnline" for mobile or Wi-Fi, and nothing
    // while the status is not known, so screens keep their last state.
    static void reachabilityStatusChanged(QNNetworkReachabilityStatus status);

    std::shared_ptr<uikit::UIWindow> window() const;
    const std::shared_ptr<EventsSplitViewController>& eventsSplitVC() const { return eventsSplitVC_; }
    void setEventsSplitVC(std::shared_ptr<EventsSplitViewController> splitViewController) {
        eventsSplitVC_ = std::move(splitViewController);
    }

    bool applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                  const foundation::Value& launchOptions) override;
    void applicationWillEnterForeground(uikit::UIApplication& application) override;
    void applicationDidBecomeActive(uikit::UIApplication& application) override;
    void applicationWillTerminate(uikit::UIApplication& application) override;
    uikit::UIInterfaceOrientationMask applicationSupportedInterfaceOrientationsForWindow(
        uikit::UIApplication& application, uikit::UIWindow* window) override;

private:
    void startServices();
    // The analytics and the pad's split view of a launch with a stored account.
    void openStoredAccount();
    // The stored account's store, opened before the first screens load.
    void openStoredAccountStore();
    // The current meeting's store as a cache reload that never ended left
    // it: its copy put back, or, without one, the store dropped. True when
    // the meeting is to be downloaded again.
    bool recoverStoredMeetingOfInterruptedReload();
    void showLoginAfterClearing(bool wholeApplication);

    std::shared_ptr<EventsSplitViewController> eventsSplitVC_;
};
