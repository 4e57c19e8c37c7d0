// The loading screen: turns an account and a meeting into an open, filled
// store and the main screens. It fetches the meeting (none named: the
// account's current one), opens its store, runs the full download through
// EventLoader (so that it keeps the validity map, the current account and
// meeting, the analytics super-properties and the map download the same way
// the command-line front does) while showing the percentage and feeding the
// start tutorial, and ends by sliding its panel away over the tab bar, which
// becomes the window's root. Every failure ends on an alert and a defined
// screen: the login screen (through the shared clearing when the store and
// settings go), the previous meeting's main screens, or the alert over this
// screen. It never dismisses itself.
//
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "uikit/UIInterfaceOrientation.h"

class QVAEvent;
class QVAStartTutorialViewController;
class QVAUserAccount;

namespace uikit {
class UIImageView;
}

class LoadingViewController : public BaseViewController {
public:
    static Text storyboardIdentifier() { return std::string("loadingViewController"); }

    static constexpr const char* kLoadingFailedTitle = "An error occurred while loading the event. Please try again.";
    static constexpr const char* kClearCacheFailedTitle = "An error occurred while trying to clear cache.";
    static constexpr const char* kReloadFailedTitle =
        "An error occurred while trying to reload content. Please log in again.";
    static constexpr const char* kSwitchFailedTitle = "An error occured while trying to switch user. Please log in again";
    static constexpr double kSlideDuration = 10.0;
    static constexpr double kSlideDelay = 0.3;

    // Loading screens from the device's storyboard. No meeting id (or an
    // empty one) loads the account's current meeting.
    static std::shared_ptr<LoadingViewController> instantiateViewControllerWithAccount(
        const std::shared_ptr<QVAUserAccount>& account, const Text& eventId);
    static std::shared_ptr<LoadingViewController> instantiateViewControllerWithAccount(
        const std::shared_ptr<QVAUserAccount>& account, const Text& eventId, bool shouldClearCacheAndReload);
    static std::shared_ptr<LoadingViewController> instantiateViewControllerWithAccount(
        const std::shared_ptr<QVAUserAccount>& account);

    // The entry of user and meeting switches: opens the account's store for
    // the meeting, keeps the base account when one is given, then shows a
    // loading screen over the presenting screen (the pad: through its split
    // view, for that meeting; the phone: for the account's current meeting).
    static void presentAsModalFromController(const uikit::UIViewControllerPtr& presenting,
                                             const std::shared_ptr<QVAUserAccount>& account,
                                             const std::shared_ptr<QVAUserAccount>& baseAccount, const Text& eventId);

    // Installs the loader the new-meeting offer's "Load" reaches: a loading
    // screen for that account and meeting, presented from the key window's root.
    static void installLoadingScreenHook();

    // The background picture for the orientation on the current device.
    static std::string backgroundImageNameForOrientation(uikit::UIInterfaceOrientation orientation);
    const std::string& backgroundImageName() const { return backgroundImageName_; }

    const std::shared_ptr<QVAUserAccount>& currentUserAccount() const { return currentUserAccount_; }
    void setCurrentUserAccount(std::shared_ptr<QVAUserAccount> account) { currentUserAccount_ = std::move(account); }
    const Text& eventId() const { return eventId_; }
    void setEventId(Text eventId) { eventId_ = std::move(eventId); }
    bool shouldClearCacheAndReloadContent() const { return shouldClearCacheAndReloadContent_; }
    void setShouldClearCacheAndReloadContent(bool clear) { shouldClearCacheAndReloadContent_ = clear; }

    const std::shared_ptr<uikit::UIImageView>& backgroundView() const { return backgroundView_; }
    const std::shared_ptr<uikit::UILabel>& loadingPercentLabel() const { return loadingPercentLabel_; }
    const std::shared_ptr<uikit::UIView>& containerForTutorial() const { return containerForTutorial_; }
    const std::shared_ptr<uikit::UIView>& containerForSpotlight() const { return containerForSpotlight_; }
    const std::shared_ptr<uikit::UIView>& containerForLoading() const { return containerForLoading_; }
    const std::shared_ptr<QVAStartTutorialViewController>& startTutorial() const { return startTutorial_; }

    // Runs the full download into the open store.
    void loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event);
    // What the full download's progress block does: the percentage, then the tutorial.
    void showProgress(uint32_t finished, uint32_t total);
    // The final slide to the tab bar, which becomes the window's root.
    void navigateWithCheckForTutorial();
    // After an important failure of a clear-cache reload: the previous store back, or a cleared login.
    void clearCacheErrorLogicForUserAccount(const std::shared_ptr<QVAUserAccount>& account,
                                            const std::shared_ptr<QVAEvent>& event);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation, double duration) override;
    bool shouldAutorotate() const override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "LoadingViewController"; }

private:
    void setBackgroundForOrientation(uikit::UIInterfaceOrientation orientation);
    void downloadFinished(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event,
                          const foundation::ErrorPtr& error);
    void showImportantFailureAlert();

    std::shared_ptr<QVAUserAccount> currentUserAccount_;
    Text eventId_;
    bool shouldClearCacheAndReloadContent_ = false;

    std::shared_ptr<uikit::UIImageView> backgroundView_;
    std::string backgroundImageName_;
    std::shared_ptr<uikit::UILabel> loadingPercentLabel_;
    std::shared_ptr<uikit::UIView> containerForTutorial_;
    std::shared_ptr<uikit::UIView> containerForSpotlight_;
    std::shared_ptr<uikit::UIView> containerForLoading_;
    std::shared_ptr<QVAStartTutorialViewController> startTutorial_;
};
