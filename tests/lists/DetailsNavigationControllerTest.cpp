// The pad's detail pane as a details navigation controller: the "Menu"
// button it keeps while the master hides in portrait, handed on to each
// pane that replaces it, and its release.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "../app/ShellTestSupport.h"
#include "app/BaseViewController.h"
#include "foundation/Log.h"
#include "lists/DetailsNavigationController.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"

namespace {

using shelltest::PadShellTest;

class DetailsNavigationControllerTest : public PadShellTest {
protected:
    std::shared_ptr<DetailsNavigationController> pane() const {
        return std::dynamic_pointer_cast<DetailsNavigationController>(detail());
    }
    static std::shared_ptr<uikit::UIBarButtonItem> leftButtonOf(const uikit::UINavigationController& navigation) {
        const auto& items = navigation.navigationBar()->items();
        return items.empty() ? nullptr : items.front()->leftBarButtonItem();
    }
    static size_t countLines(const foundation::ScopedLogCapture& log, const std::string& line) {
        const auto lines = log.lines();
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& each) {
            return each.find(line) != std::string::npos;
        }));
    }
};

TEST_F(DetailsNavigationControllerTest, ADetailsPaneOpenedInPortraitTakesTheMenuAndRotationRemovesIt) {
    launch();
    auto menu = pane()->menuBarButtonItem();
    tabBar()->displayLeftPopoverMenu();
    settle();
    ASSERT_TRUE(split()->leftPopoverMenuController()->isPopoverVisible());

    foundation::ScopedLogCapture log;
    auto screen = std::make_shared<uikit::UIViewController>();
    auto opened = DetailsNavigationController::showInSplitViewDetail(screen);
    settle();
    EXPECT_EQ(detail(), opened);
    EXPECT_EQ(opened->viewControllers().front(), screen);
    EXPECT_EQ(split()->viewControllers().front(), tabBar());
    EXPECT_EQ(split()->delegate().get(), static_cast<uikit::UISplitViewControllerDelegate*>(opened.get()));
    EXPECT_EQ(opened->menuBarButtonItem(), menu);
    EXPECT_EQ(leftButtonOf(*opened), menu);
    EXPECT_FALSE(split()->leftPopoverMenuController()->isPopoverVisible());
    // The home pane it replaced is released.
    EXPECT_EQ(countLines(log, DetailsNavigationController::kDeallocLine), 1u);

    driver().rotate(uikit::UIDeviceOrientation::LandscapeLeft);
    settle();
    EXPECT_EQ(opened->menuBarButtonItem(), nullptr);
    EXPECT_EQ(leftButtonOf(*opened), nullptr);
    EXPECT_EQ(split()->leftPopoverMenuController(), nullptr);

    // A pane opened in landscape has no button to take over.
    auto inLandscape = DetailsNavigationController::showInSplitViewDetail(std::make_shared<uikit::UIViewController>());
    settle();
    EXPECT_EQ(inLandscape->menuBarButtonItem(), nullptr);
    EXPECT_EQ(leftButtonOf(*inLandscape), nullptr);

    driver().rotate(uikit::UIDeviceOrientation::Portrait);
    settle();
    ASSERT_TRUE(inLandscape->menuBarButtonItem());
    EXPECT_EQ(leftButtonOf(*inLandscape), inLandscape->menuBarButtonItem());
    EXPECT_TRUE(split()->leftPopoverMenuController());
}

TEST_F(DetailsNavigationControllerTest, GoingHomeAndSwitchingMeetingKeepTheMenuAndReleaseTheOldSplitViewOnce) {
    launch();
    auto first = split();
    auto firstMenu = pane()->menuBarButtonItem();

    // The go-home pane, made outside the split view, finds it through the
    // application delegate and takes the button of the pane shown so far.
    auto home = std::dynamic_pointer_cast<DetailsNavigationController>(
        BaseViewController::instantiateViewControllerWithStoryboardIdentifier(
            std::string(BaseViewController::kSpotlightNavigationControllerForGoHome)));
    ASSERT_TRUE(home);
    EXPECT_EQ(home->menuBarButtonItem(), firstMenu);
    EXPECT_EQ(leftButtonOf(*home), firstMenu);
    EXPECT_EQ(first->delegate().get(), static_cast<uikit::UISplitViewControllerDelegate*>(home.get()));
    home.reset();

    foundation::ScopedLogCapture log;
    EventsSplitViewController::navigate();
    settle();
    auto second = split();
    ASSERT_NE(second, first);
    first.reset();
    settle();
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(countLines(log, EventsSplitViewController::kDeallocLine), 1u);
    ASSERT_TRUE(pane());
    ASSERT_TRUE(pane()->menuBarButtonItem());
    EXPECT_EQ(pane()->menuBarButtonItem()->title(), "Menu");
    EXPECT_EQ(leftButtonOf(*pane()), pane()->menuBarButtonItem());
    EXPECT_EQ(second->leftPopoverMenuController(), second->masterPopoverController());
}

}  // namespace
