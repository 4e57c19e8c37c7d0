// The split view's orientation model with its delegate, popovers and the
// tap outside, and rotation consulting the controllers in front.
#include <gtest/gtest.h>

#include "../dispatch/VirtualTime.h"
#include "ViewControllerTestSupport.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIView.h"

namespace {

using uikit::UIDeviceOrientation;
using uikit::UIInterfaceOrientation;
using uikit::UIPopoverController;
using uikit::UISplitViewController;
using uikit_test::JournaledController;
using uikit_test::nextTurn;

struct SplitDelegate : uikit::UISplitViewControllerDelegate {
    std::vector<std::string> calls;
    std::shared_ptr<uikit::UIBarButtonItem> item;
    std::shared_ptr<UIPopoverController> popover;
    void splitViewControllerWillHideViewController(UISplitViewController&, uikit::UIViewController&,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& barButtonItem,
                                                   const std::shared_ptr<UIPopoverController>& popoverController) override {
        calls.push_back("willHide");
        item = barButtonItem;
        popover = popoverController;
    }
    void splitViewControllerWillShowViewController(UISplitViewController&, uikit::UIViewController&,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& barButtonItem) override {
        calls.push_back(barButtonItem == item ? "willShow(same item)" : "willShow(other item)");
    }
};

struct PopoverDelegate : uikit::UIPopoverControllerDelegate {
    bool allow = true;
    int dismissed = 0;
    bool popoverControllerShouldDismissPopover(UIPopoverController&) override { return allow; }
    void popoverControllerDidDismissPopover(UIPopoverController&) override { ++dismissed; }
};

// Records the rotation callbacks and answers the rotation questions as told.
struct Rotating : JournaledController {
    using JournaledController::JournaledController;
    bool autorotates = true;
    uikit::UIInterfaceOrientationMask mask = uikit::UIInterfaceOrientationMaskAll;
    std::vector<std::pair<UIInterfaceOrientation, double>> rotations;
    bool shouldAutorotate() const override { return autorotates; }
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override { return mask; }
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation o, double duration) override {
        rotations.emplace_back(o, duration);
    }
};

class SplitTest : public uikit_test::WindowTest {
protected:
    SplitTest() : WindowTest(uikit::DeviceProfile::iPad()) {}
    std::shared_ptr<Rotating> make(const std::string& name) { return std::make_shared<Rotating>(name, journal); }
};

TEST_F(SplitTest, PortraitHidesTheMasterBehindAnItemAndLandscapeShowsIt) {
    auto master = make("M");
    master->setTitle(std::string("Master"));
    auto detail = make("D");
    auto split = std::make_shared<UISplitViewController>();
    split->setViewControllers({master, detail});
    auto delegate = std::make_shared<SplitDelegate>();
    split->setDelegate(delegate);
    window->setRootViewController(split);
    nextTurn();

    ASSERT_EQ(delegate->calls, std::vector<std::string>{"willHide"});
    ASSERT_TRUE(delegate->item);
    EXPECT_EQ(delegate->item->title(), "Master");
    EXPECT_EQ(delegate->popover->contentViewController(), master);
    EXPECT_EQ(detail->view()->frame(), (graphics::Rect{0, 0, 768, 1024}));
    EXPECT_FALSE(master->isOnScreen());
    EXPECT_TRUE(split->presentsWithGesture());

    // The item shows the master in its popover, and again hides it.
    delegate->item->tap();
    EXPECT_TRUE(delegate->popover->isPopoverVisible());
    EXPECT_TRUE(master->isOnScreen());
    delegate->item->tap();
    EXPECT_FALSE(delegate->popover->isPopoverVisible());

    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_EQ(split->interfaceOrientation(), UIInterfaceOrientation::LandscapeRight);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"willHide", "willShow(same item)"}));
    EXPECT_FALSE(split->isMasterHidden());
    EXPECT_EQ(master->view()->frame(), (graphics::Rect{0, 0, 320, 768}));
    EXPECT_EQ(detail->view()->frame(), (graphics::Rect{320, 0, 704, 768}));
    EXPECT_EQ(detail->rotations, (std::vector<std::pair<UIInterfaceOrientation, double>>{
                                     {UIInterfaceOrientation::LandscapeRight, 0.4}}));
    nextTurn();
    EXPECT_TRUE(master->isOnScreen());

    // A new delegate set in landscape hears nothing; back in portrait it hears will-hide.
    auto next = std::make_shared<SplitDelegate>();
    split->setDelegate(next);
    EXPECT_TRUE(next->calls.empty());
    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::Portrait);
    EXPECT_EQ(next->calls, std::vector<std::string>{"willHide"});
    // Controllers set while in portrait tell the delegate again, with the new master.
    auto other = make("M2");
    split->setViewControllers({other, detail});
    EXPECT_EQ(next->calls, (std::vector<std::string>{"willHide", "willHide"}));
    EXPECT_EQ(next->popover->contentViewController(), other);
}

// The portrait menu as the shell builds it: the detail navigation controller
// is the delegate and shows the item as its first screen's left button.
struct DetailNavigation : uikit::UINavigationController, uikit::UISplitViewControllerDelegate {
    void splitViewControllerWillHideViewController(UISplitViewController&, uikit::UIViewController&,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& item,
                                                   const std::shared_ptr<UIPopoverController>& popover) override {
        item->setTitle(std::string("Menu"));
        viewControllers().front()->navigationItem()->setLeftBarButtonItem(item);
        menuPopover = popover;
    }
    std::shared_ptr<UIPopoverController> menuPopover;
};

TEST_F(SplitTest, TheMenuItemInTheDetailBarShowsTheMasterBelowIt) {
    auto master = make("M");
    auto detail = uikit::UINavigationController::withRootViewController<DetailNavigation>(make("D"));
    auto split = std::make_shared<UISplitViewController>();
    split->setViewControllers({master, detail});
    split->setDelegate(detail);
    window->setRootViewController(split);
    nextTurn();
    EXPECT_EQ(detail->splitViewController(), split);
    EXPECT_EQ(master->splitViewController(), split);

    ASSERT_TRUE(detail->menuPopover);
    const auto item = split->masterBarButtonItem();
    const auto itemView = detail->navigationBar()->viewForBarButtonItem(item);
    ASSERT_TRUE(itemView);
    item->tap();
    const auto panel = detail->menuPopover->popoverView();
    ASSERT_TRUE(panel);
    const graphics::Rect anchor = itemView->convertRectToView(itemView->bounds(), nullptr);
    EXPECT_EQ(detail->menuPopover->popoverArrowDirection(), uikit::UIPopoverArrowDirectionUp);
    EXPECT_EQ(panel->frame().origin.y, anchor.origin.y + anchor.height());
    EXPECT_EQ(detail->menuPopover->presentingBarButtonItem(), item);
    EXPECT_TRUE(master->view()->isDescendantOfView(panel.get()));
    // Rotating to landscape takes the master out of the popover into its column.
    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_FALSE(detail->menuPopover->isPopoverVisible());
    EXPECT_EQ(master->view()->superview(), split->view());
}

// A rotation while a screen hides the status bar lays the panes out without
// it; when the strip shows again the bars move down under it at once, not at
// the next rotation.
TEST_F(SplitTest, TheStatusBarShowingAgainLaysThePanesOutUnderIt) {
    auto detail = uikit::UINavigationController::withRootViewController(make("D"));
    auto split = std::make_shared<UISplitViewController>();
    split->setViewControllers({make("M"), detail});
    window->setRootViewController(split);
    nextTurn();
    auto& application = uikit::UIApplication::sharedApplication();
    EXPECT_EQ(detail->navigationBar()->frame().origin.y, 20);
    application.setStatusBarHidden(true, uikit::UIStatusBarAnimation::Slide);
    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    nextTurn();
    EXPECT_EQ(detail->navigationBar()->frame().origin.y, 0);
    application.setStatusBarHidden(false, uikit::UIStatusBarAnimation::Slide);
    EXPECT_EQ(detail->navigationBar()->frame().origin.y, 20);
    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::Portrait);
}

TEST_F(SplitTest, ThePhoneSendsNothing) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    auto split = std::make_shared<UISplitViewController>();
    split->setViewControllers({make("M"), make("D")});
    auto delegate = std::make_shared<SplitDelegate>();
    split->setDelegate(delegate);
    window->setRootViewController(split);
    uikit::UIDevice::currentDevice().rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(SplitTest, PopoverTellsItsDelegateOnlyAfterATapOutside) {
    auto root = make("R");
    window->setRootViewController(root);
    nextTurn();
    auto content = uikit::UINavigationController::withRootViewController(make("C"));
    auto popover = std::make_shared<UIPopoverController>(content);
    auto delegate = std::make_shared<PopoverDelegate>();
    popover->setDelegate(delegate);
    auto passthrough = std::make_shared<uikit::UIView>(graphics::Rect{700, 900, 60, 60});
    root->view()->addSubview(passthrough);
    popover->setPassthroughViews({passthrough});

    popover->presentPopoverFromRect({100, 100, 40, 40}, root->view(), uikit::UIPopoverArrowDirectionUp, true);
    EXPECT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(popover->popoverArrowDirection(), uikit::UIPopoverArrowDirectionUp);
    EXPECT_EQ(popover->popoverView()->frame(), (graphics::Rect{0, 140, 320, 600}));
    // Inside a popover the navigation bar sits at the top of the panel.
    EXPECT_EQ(content->navigationBar()->frame(), (graphics::Rect{0, 0, 320, 44}));
    EXPECT_EQ(content->view()->appearanceContainer(), popover);
    EXPECT_EQ(content->topViewController()->presentingPopoverController(), popover);
    EXPECT_EQ(window->hitTest({730, 930}), passthrough);
    EXPECT_EQ(window->hitTest({500, 500}), popover->dismissalView());

    popover->dismissPopoverAnimated(false);
    EXPECT_FALSE(popover->lastDismissalAnimated());
    EXPECT_EQ(content->presentingPopoverController(), nullptr);
    EXPECT_EQ(delegate->dismissed, 0);
    EXPECT_EQ(window->hitTest({500, 500}), root->view());

    popover->presentPopoverFromRect({100, 100, 40, 40}, root->view(), uikit::UIPopoverArrowDirectionAny, false);
    delegate->allow = false;
    popover->tapOutside();
    EXPECT_TRUE(popover->isPopoverVisible());
    delegate->allow = true;
    const auto& recognizers = popover->dismissalView()->gestureRecognizers();
    ASSERT_EQ(recognizers.size(), 1u);
    recognizers[0]->fireAtPoint({500, 500});
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(delegate->dismissed, 1);
    nextTurn();
}

// A popover that has no room on its arrow's side stays on the screen, below
// the status bar.
TEST_F(SplitTest, APopoverWithoutRoomStaysBelowTheStatusBar) {
    auto root = make("R");
    window->setRootViewController(root);
    nextTurn();
    auto popover = std::make_shared<UIPopoverController>(make("C"));
    popover->presentPopoverFromRect({100, 300, 40, 40}, root->view(), uikit::UIPopoverArrowDirectionDown, false);
    EXPECT_EQ(popover->popoverView()->frame(), (graphics::Rect{0, 20, 320, 600}));
    popover->dismissPopoverAnimated(false);
    nextTurn();
}

// A sheet presented from a popover's content closes the popover and comes
// over a shade that takes the taps around it; the shade leaves with it.
TEST_F(SplitTest, PresentingFromAPopoverClosesItAndASheetComesOverAShade) {
    auto root = make("R");
    window->setRootViewController(root);
    nextTurn();
    auto content = uikit::UINavigationController::withRootViewController(make("C"));
    auto popover = std::make_shared<UIPopoverController>(content);
    popover->presentPopoverFromRect({100, 100, 40, 40}, root->view(), uikit::UIPopoverArrowDirectionUp, false);
    nextTurn();
    auto sheet = make("S");
    sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    content->topViewController()->presentViewController(sheet, false);
    nextTurn();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_TRUE(sheet->isOnScreen());
    auto shade = window->hitTest({20, 20});
    ASSERT_TRUE(shade);
    EXPECT_EQ(shade->className(), "UIFormSheetDimmingView");
    EXPECT_EQ(shade->frame(), window->bounds());
    sheet->dismissViewControllerAnimated(false);
    nextTurn();
    EXPECT_EQ(window->hitTest({20, 20}), root->view());
}

TEST_F(SplitTest, APopoverTakesItsContentsPreferredSizeUnlessOneIsSet) {
    auto root = make("R");
    window->setRootViewController(root);
    nextTurn();
    auto inner = make("C");
    inner->setPreferredContentSize({400, 450});
    auto content = uikit::UINavigationController::withRootViewController(inner);
    auto popover = std::make_shared<UIPopoverController>(content);
    EXPECT_EQ(popover->popoverContentSize(), (graphics::Size{400, 450}));
    popover->presentPopoverFromRect({600, 100, 40, 40}, root->view(), uikit::UIPopoverArrowDirectionRight, false);
    EXPECT_EQ(popover->popoverView()->frame().size, (graphics::Size{400, 450}));
    popover->setPopoverContentSize({300, 200});
    EXPECT_EQ(popover->popoverView()->frame().size, (graphics::Size{300, 200}));
    popover->dismissPopoverAnimated(false);
    nextTurn();
}

TEST_F(SplitTest, ANavigationBarInAPopoverTakesThePopoversAppearance) {
    const graphics::Color nearlyBlack = graphics::Color::rgb(5 / 255.0, 7 / 255.0, 8 / 255.0);
    uikit::UINavigationBar::appearanceWhenContainedIn<UIPopoverController>().setBackgroundColor(nearlyBlack);
    auto root = uikit::UINavigationController::withRootViewController(make("R"));
    window->setRootViewController(root);
    auto content = uikit::UINavigationController::withRootViewController(make("C"));
    auto popover = std::make_shared<UIPopoverController>(content);
    popover->presentPopoverFromRect({10, 10, 10, 10}, root->view(), uikit::UIPopoverArrowDirectionAny, false);
    EXPECT_EQ(content->navigationBar()->backgroundColor(), nearlyBlack);
    EXPECT_NE(root->navigationBar()->backgroundColor(), nearlyBlack);
    popover->dismissPopoverAnimated(false);
    uikit::UIAppearance::resetForTests();
}

TEST_F(SplitTest, RotationAsksTheControllerInFrontAndTheApplication) {
    auto root = make("R");
    window->setRootViewController(root);
    nextTurn();
    auto& device = uikit::UIDevice::currentDevice();
    auto& application = uikit::UIApplication::sharedApplication();

    root->autorotates = false;
    device.rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::Portrait);
    device.rotateToOrientation(UIDeviceOrientation::Portrait);

    root->autorotates = true;
    root->mask = uikit::UIInterfaceOrientationMaskPortrait;
    device.rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::Portrait);
    device.rotateToOrientation(UIDeviceOrientation::Portrait);

    // The front controller is the one presented full screen.
    root->mask = uikit::UIInterfaceOrientationMaskAll;
    auto presented = make("P");
    presented->mask = uikit::UIInterfaceOrientationMaskPortrait;
    root->presentViewController(presented, false);
    nextTurn();
    device.rotateToOrientation(UIDeviceOrientation::LandscapeRight);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::Portrait);
    device.rotateToOrientation(UIDeviceOrientation::Portrait);
    presented->mask = uikit::UIInterfaceOrientationMaskAll;
    device.rotateToOrientation(UIDeviceOrientation::LandscapeRight);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(window->frame(), (graphics::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(presented->view()->frame(), (graphics::Rect{0, 0, 1024, 768}));
    // Only the controllers on screen hear it.
    EXPECT_TRUE(root->rotations.empty());
    EXPECT_EQ(presented->rotations.size(), 1u);

    // The application delegate's mask for the window counts too.
    struct PortraitOnly : uikit::UIApplicationDelegate {
        uikit::UIInterfaceOrientationMask applicationSupportedInterfaceOrientationsForWindow(uikit::UIApplication&,
                                                                                         uikit::UIWindow*) override {
            return uikit::UIInterfaceOrientationMaskPortrait;
        }
    };
    application.setDelegate(std::make_shared<PortraitOnly>());
    device.rotateToOrientation(UIDeviceOrientation::Portrait);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::Portrait);
    device.rotateToOrientation(UIDeviceOrientation::LandscapeLeft);
    EXPECT_EQ(application.statusBarOrientation(), UIInterfaceOrientation::Portrait);
}

}  // namespace
