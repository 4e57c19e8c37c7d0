#include "app/EventsSplitViewController.h"

#include "app/AppDelegate.h"
#include "app/BaseViewController.h"
#include "app/EventsTabBarController.h"
#include "app/LoadingViewController.h"
#include "app/MenuBarButtonItemProvider.h"
#include "app/TutorialViewController.h"
#include "Utils/Utils.h"
#include "foundation/Log.h"
#include "uikit/UIApplication.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace {

constexpr double kPadShortSide = 768;
constexpr double kPadLongSide = 1024;

constexpr uikit::UIViewAutoresizing kFlexibleEverything =
    uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleWidth |
    uikit::UIViewAutoresizingFlexibleRightMargin | uikit::UIViewAutoresizingFlexibleTopMargin |
    uikit::UIViewAutoresizingFlexibleHeight | uikit::UIViewAutoresizingFlexibleBottomMargin;

}  // namespace

EventsSplitViewController::~EventsSplitViewController() {
    leftPopoverMenuController_.reset();
    foundation::Log("%@", kDeallocLine);
}

void EventsSplitViewController::navigate() {
    auto appDelegate = AppDelegate::sharedAppDelegate();
    if (auto previous = appDelegate ? appDelegate->eventsSplitVC() : nullptr) {
        previous->setLeftPopoverMenuController(nullptr);
        previous->setDelegate(nullptr);
        appDelegate->setEventsSplitVC(nullptr);
    }
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto split = std::dynamic_pointer_cast<EventsSplitViewController>(
        storyboard->instantiateViewControllerWithIdentifier(kStoryboardIdentifier));
    uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(split);
    if (appDelegate) appDelegate->setEventsSplitVC(split);
}

std::shared_ptr<EventsTabBarController> EventsSplitViewController::masterTabBarController() const {
    return viewControllers().empty() ? nullptr
                                     : std::dynamic_pointer_cast<EventsTabBarController>(viewControllers().front());
}

void EventsSplitViewController::showLoadingControllerForUserAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                                    const Text& eventId) {
    presentViewController(LoadingViewController::instantiateViewControllerWithAccount(account, eventId), false);
}

void EventsSplitViewController::displayLeftPopoverMenu() {
    if (!Utils::isIPad() || !uikit::UIInterfaceOrientationIsPortrait(interfaceOrientation())) return;
    if (!leftPopoverMenuController_) return;
    auto provider = std::dynamic_pointer_cast<MenuBarButtonItemProvider>(delegate());
    auto menuButton = provider ? provider->menuBarButtonItem() : nullptr;
    if (!menuButton) return;
    leftPopoverMenuController_->presentPopoverFromBarButtonItem(menuButton, uikit::UIPopoverArrowDirectionUp, true);
}

void EventsSplitViewController::hideLeftPopoverMenu() {
    if (Utils::isIPad() && leftPopoverMenuController_) leftPopoverMenuController_->dismissPopoverAnimated(true);
}

void EventsSplitViewController::resetControllers() { setViewControllers({}); }

void EventsSplitViewController::showTutorial(const std::shared_ptr<TutorialViewController>& tutorial,
                                             bool withHardCodedFrame) {
    if (tutorialVCDisplayed_) {
        tutorialVCDisplayed_->view()->removeFromSuperview();
        tutorialVCDisplayed_->setTutorialDelegate(nullptr);
        tutorialVCDisplayed_ = nullptr;
        return;
    }
    if (!tutorial) return;
    tutorialVCDisplayed_ = tutorial;
    const auto& overlay = tutorial->view();
    if (withHardCodedFrame) {
        const bool portrait = uikit::UIInterfaceOrientationIsPortrait(
            uikit::UIApplication::sharedApplication().statusBarOrientation());
        overlay->setFrame(portrait ? graphics::Rect{{0, 0}, {kPadShortSide, kPadLongSide}}
                                   : graphics::Rect{{0, 0}, {kPadLongSide, kPadShortSide}});
    } else {
        auto window = uikit::UIApplication::sharedApplication().keyWindow();
        overlay->setFrame({{0, 0}, window->bounds().size});
    }
    overlay->setAutoresizingMask(kFlexibleEverything);
    tutorial->setTutorialDelegate(std::dynamic_pointer_cast<TutorialDelegate>(
        std::static_pointer_cast<EventsSplitViewController>(shared_from_this())));
    view()->addSubview(overlay);
}

void EventsSplitViewController::tutorialClosed() {
    if (!tutorialVCDisplayed_) return;
    if (tutorialVCDisplayed_->view()->superview()) tutorialVCDisplayed_->view()->removeFromSuperview();
    tutorialVCDisplayed_->setTutorialDelegate(nullptr);
    tutorialVCDisplayed_ = nullptr;
}

void EventsSplitViewController::closeTutorialAndNavigate(Destination destination, bool showMenu) {
    tutorialClosed();
    auto home = BaseViewController::instantiateViewControllerWithStoryboardIdentifier(
        std::string(BaseViewController::kSpotlightNavigationControllerForGoHome));
    auto master = viewControllers().empty() ? nullptr : viewControllers().front();
    std::vector<uikit::UIViewControllerPtr> controllers;
    if (master) controllers.push_back(master);
    controllers.push_back(home);
    setViewControllers(std::move(controllers));
    if (auto tabBar = masterTabBarController()) {
        switch (destination) {
            case Destination::Sessions: tabBar->displaySessionsTab(); break;
            case Destination::Participants: tabBar->displayParticipantsTab(); break;
            case Destination::Agenda: tabBar->displayAgendaTab(); break;
            case Destination::Messages: tabBar->displayMessagesTab(); break;
            case Destination::Settings: tabBar->displaySettings(); break;
        }
    }
    if (showMenu) displayLeftPopoverMenu();
    setPresentsWithGesture(true);
}

void EventsSplitViewController::closeTutorialAndNavigateHome() { closeTutorialAndNavigate(Destination::Sessions, true); }

void EventsSplitViewController::closeTutorialAndNavigateToProgramme() {
    closeTutorialAndNavigate(Destination::Sessions, true);
}

void EventsSplitViewController::closeTutorialAndNavigateToParticipants() {
    closeTutorialAndNavigate(Destination::Participants, true);
}

void EventsSplitViewController::closeTutorialAndNavigateToAgenda() {
    closeTutorialAndNavigate(Destination::Agenda, true);
}

void EventsSplitViewController::closeTutorialAndNavigateToMessages() {
    closeTutorialAndNavigate(Destination::Messages, true);
}

void EventsSplitViewController::closeTutorialAndNavigateToSettings() {
    closeTutorialAndNavigate(Destination::Settings, false);
}
