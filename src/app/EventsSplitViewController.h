// The pad's root: the main tab bar as master and the home screen's
// navigation controller as detail. It hosts the menu popover that shows the
// master in portrait and the tutorial laid over the whole screen, and
// answers the tutorial's closers by putting a new home screen in the detail
// and opening a tab. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/TutorialDelegate.h"
#include "uikit/UISplitViewController.h"

class EventsTabBarController;
class QVAUserAccount;
class TutorialViewController;

namespace uikit {
class UIPopoverController;
}

class EventsSplitViewController : public uikit::UISplitViewController, public TutorialDelegate {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kStoryboardIdentifier = "eventsSplitViewController";
    static constexpr const char* kDeallocLine = "#####Called dealloc on EventsSplitViewController ########";

    EventsSplitViewController() = default;
    ~EventsSplitViewController() override;

    // Clears the previous split view's popover and delegate and the
    // application delegate's hold on it, then makes the device storyboard's
    // "eventsSplitViewController" the window's root and the delegate's eventsSplitVC.
    static void navigate();

    // The menu popover; the details navigation controller sets it when the
    // master hides.
    const std::shared_ptr<uikit::UIPopoverController>& leftPopoverMenuController() const { return leftPopoverMenuController_; }
    void setLeftPopoverMenuController(std::shared_ptr<uikit::UIPopoverController> popover) {
        leftPopoverMenuController_ = std::move(popover);
    }
    const std::shared_ptr<TutorialViewController>& tutorialVCDisplayed() const { return tutorialVCDisplayed_; }

    // The master, when it is the main tab bar.
    std::shared_ptr<EventsTabBarController> masterTabBarController() const;

    // Presents a loading screen for the account and meeting, without animation.
    void showLoadingControllerForUserAccount(const std::shared_ptr<QVAUserAccount>& account, const Text& eventId);
    // On the pad in portrait with a popover and a menu button: the popover from that button.
    void displayLeftPopoverMenu();
    void hideLeftPopoverMenu();
    void resetControllers();
    // Toggles the tutorial overlay: a shown one goes (the given one is not
    // shown); else the given one covers the split view, at the fixed pad
    // frame of the status bar's orientation or at the window's size.
    void showTutorial(const std::shared_ptr<TutorialViewController>& tutorial, bool withHardCodedFrame);

    void tutorialClosed() override;
    void closeTutorialAndNavigateHome() override;
    void closeTutorialAndNavigateToProgramme() override;
    void closeTutorialAndNavigateToParticipants() override;
    void closeTutorialAndNavigateToAgenda() override;
    void closeTutorialAndNavigateToMessages() override;
    void closeTutorialAndNavigateToSettings() override;

    bool shouldAutorotate() const override { return true; }
    std::string className() const override { return "EventsSplitViewController"; }

private:
    enum class Destination { Sessions, Participants, Agenda, Messages, Settings };
    void closeTutorialAndNavigate(Destination destination, bool showMenu);

    std::shared_ptr<uikit::UIPopoverController> leftPopoverMenuController_;
    std::shared_ptr<TutorialViewController> tutorialVCDisplayed_;
};

using EventsSplitViewControllerPtr = std::shared_ptr<EventsSplitViewController>;
