// The navigation and tab bar containers: the order of the appearance
// callbacks for push, pop, stack replacement and tab switches, the bars as
// views, the back button, disabled tabs and the deterministic layout.
#include <gtest/gtest.h>

#include "../dispatch/VirtualTime.h"
#include "ViewControllerTestSupport.h"
#include "foundation/Exception.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITabBarController.h"
#include "uikit/UIView.h"

namespace {

using uikit::UINavigationController;
using uikit::UITabBarController;
using uikit_test::Journal;
using uikit_test::JournaledController;
using uikit_test::nextTurn;
using Lines = std::vector<std::string>;

class ContainerTest : public uikit_test::WindowTest {
protected:
    std::shared_ptr<JournaledController> make(const std::string& name) {
        return std::make_shared<JournaledController>(name, journal);
    }
    // The journal since the last call, without view loads and parent moves.
    Lines appearance() {
        Lines lines;
        for (const auto& line : *journal) {
            if (line.find("Appear") != std::string::npos || line.find("Disappear") != std::string::npos ||
                line.find("dealloc") != std::string::npos) {
                lines.push_back(line);
            }
        }
        journal->clear();
        return lines;
    }
    // Shows the root and lets its transition end.
    void show(const uikit::UIViewControllerPtr& root) {
        window->setRootViewController(root);
        nextTurn();
        journal->clear();
    }
};

TEST_F(ContainerTest, PushAndPopRunTheCallbacksOnTheNextTurn) {
    auto a = make("A");
    auto navigation = UINavigationController::withRootViewController(a);
    EXPECT_EQ(a->parentViewController(), navigation);
    EXPECT_EQ(a->navigationController(), navigation);
    show(navigation);

    auto b = make("B");
    navigation->pushViewController(b, true);
    EXPECT_TRUE(navigation->lastTransitionAnimated());
    EXPECT_EQ(navigation->topViewController(), b);
    EXPECT_EQ(appearance(), (Lines{"A willDisappear", "B willAppear"}));
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"A didDisappear", "B didAppear"}));
    EXPECT_EQ(a->view()->superview(), nullptr);
    EXPECT_EQ(b->view()->superview(), navigation->view());
    EXPECT_EQ(navigation->navigationBar()->items().size(), 2u);
    EXPECT_EQ(navigation->navigationBar()->topItem(), b->navigationItem());
    EXPECT_THROW(navigation->pushViewController(b, false), foundation::Exception);

    EXPECT_EQ(navigation->popViewControllerAnimated(false), b);
    EXPECT_FALSE(navigation->lastTransitionAnimated());
    EXPECT_EQ(appearance(), (Lines{"B willDisappear", "A willAppear"}));
    b.reset();
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"B didDisappear", "A didAppear", "B dealloc"}));
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr);  // the root stays
    EXPECT_EQ(navigation->childViewControllers().size(), 1u);
}

TEST_F(ContainerTest, BackButtonPopsAndStackReplacementMovesParents) {
    auto a = make("A");
    auto b = make("B");
    auto c = make("C");
    auto navigation = std::make_shared<UINavigationController>();
    navigation->setViewControllers({a, b, c}, false);
    show(navigation);
    EXPECT_EQ(*journal, Lines{});

    ASSERT_TRUE(navigation->navigationBar()->tapBackButton());
    EXPECT_EQ(navigation->topViewController(), b);
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"C willDisappear", "B willAppear", "C didDisappear", "B didAppear"}));

    // Popping to the root: only the top and the root change appearance.
    EXPECT_EQ(navigation->popToRootViewControllerAnimated(true), (std::vector<uikit::UIViewControllerPtr>{b}));
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"B willDisappear", "A willAppear", "B didDisappear", "A didAppear"}));
    EXPECT_EQ(b->parentViewController(), nullptr);
    EXPECT_THROW(navigation->popToViewController(c, false), foundation::Exception);

    navigation->setViewControllers({c}, true);
    EXPECT_TRUE(navigation->lastTransitionAnimated());
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"A willDisappear", "C willAppear", "A didDisappear", "C didAppear"}));
    EXPECT_EQ(a->parentViewController(), nullptr);
    EXPECT_EQ(navigation->childViewControllers(), (std::vector<uikit::UIViewControllerPtr>{c}));
    EXPECT_FALSE(navigation->navigationBar()->isBackButtonShown());
}

TEST_F(ContainerTest, OffScreenContainersSendNoAppearanceCallbacks) {
    auto navigation = UINavigationController::withRootViewController(make("A"));
    navigation->pushViewController(make("B"), true);
    nextTurn();
    EXPECT_EQ(appearance(), Lines{});
    EXPECT_EQ(navigation->childViewControllers().size(), 2u);
}

TEST_F(ContainerTest, TabSwitchRunsTheCallbacksAndDisabledItemsIgnoreTaps) {
    auto first = make("T0");
    auto second = make("T1");
    auto tabs = std::make_shared<UITabBarController>();
    tabs->setViewControllers({first, second});
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(second->tabBarController(), tabs);
    show(tabs);

    tabs->setSelectedIndex(1);
    EXPECT_EQ(tabs->selectedViewController(), second);
    EXPECT_EQ(tabs->tabBar()->selectedItem(), second->tabBarItem());
    EXPECT_EQ(appearance(), (Lines{"T0 willDisappear", "T1 willAppear"}));
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"T0 didDisappear", "T1 didAppear"}));

    first->tabBarItem()->setEnabled(false);
    EXPECT_FALSE(tabs->tabBar()->tapItemAtIndex(0));
    EXPECT_EQ(tabs->selectedIndex(), 1);
    first->tabBarItem()->setEnabled(true);
    EXPECT_TRUE(tabs->tabBar()->buttons()[0]->tap());
    EXPECT_EQ(tabs->selectedIndex(), 0);
    tabs->setSelectedIndex(7);  // no such tab
    EXPECT_EQ(tabs->selectedIndex(), 0);
    nextTurn();
    EXPECT_EQ(appearance(), (Lines{"T1 willDisappear", "T0 willAppear", "T1 didDisappear", "T0 didAppear"}));

    // The bar is a view of the window's tree where a person sees it.
    const auto hit = window->hitTest({350, 640});
    EXPECT_EQ(hit, tabs->tabBar()->buttons()[1]);
    second->setTitle(std::string("Second"));
    second->tabBarItem()->setBadgeValue(std::string("2"));
    EXPECT_EQ(tabs->tabBar()->items()[1]->title(), "Second");
    EXPECT_EQ(tabs->tabBar()->items()[1]->badgeValue(), "2");
    auto replacement = std::make_shared<uikit::UITabBarItem>(std::string("Mail"), nullptr, 3);
    second->setTabBarItem(replacement);
    EXPECT_EQ(tabs->tabBar()->items()[1], replacement);
}

TEST_F(ContainerTest, ALoadedContainerShowsItsChildrenOutsideAWindow) {
    auto a = make("A");
    auto tabs = std::make_shared<UITabBarController>();
    tabs->setViewControllers({UINavigationController::withRootViewController(a)});
    auto host = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 375, 667});
    host->addSubview(tabs->view());
    EXPECT_TRUE(a->view()->isDescendantOfView(tabs->view().get()));
    EXPECT_EQ(a->view()->frame(), (graphics::Rect{0, 0, 375, 667}));
    EXPECT_EQ(appearance(), Lines{});
    // Resizing the host's content follows it, bars included, before the next layout pass.
    tabs->view()->setFrame({0, 0, 320, 480});
    EXPECT_EQ(a->view()->frame(), (graphics::Rect{0, 0, 320, 480}));
    EXPECT_EQ(tabs->tabBar()->frame(), (graphics::Rect{0, 431, 320, 49}));
}

TEST_F(ContainerTest, NavigationInsideTabBarLaysOutBetweenOrUnderTheBars) {
    auto plain = make("A");
    plain->setEdgesForExtendedLayout(uikit::UIRectEdgeNone);
    auto navigation = UINavigationController::withRootViewController(plain);
    auto tabs = std::make_shared<UITabBarController>();
    tabs->setViewControllers({navigation, make("Other")});
    show(tabs);

    EXPECT_EQ(plain->view()->frame(), (graphics::Rect{0, 64, 375, 554}));
    EXPECT_EQ(plain->view()->convertRectToView(plain->view()->bounds(), nullptr), (graphics::Rect{0, 64, 375, 554}));
    EXPECT_EQ(navigation->navigationBar()->frame(), (graphics::Rect{0, 20, 375, 44}));
    EXPECT_EQ(tabs->tabBar()->frame(), (graphics::Rect{0, 618, 375, 49}));
    EXPECT_GT(plain->layouts, 0);

    auto extended = make("B");
    navigation->pushViewController(extended, false);
    EXPECT_EQ(extended->view()->frame(), (graphics::Rect{0, 0, 375, 667}));
    EXPECT_EQ(extended->containerInsets(), (uikit::UIEdgeInsets{64, 0, 49, 0}));
    EXPECT_EQ(extended->navigationController(), navigation);
    EXPECT_EQ(extended->tabBarController(), tabs);
    // The bar stays in front of the controller's view beneath it.
    EXPECT_EQ(window->hitTest({10, 40})->isDescendantOfView(navigation->navigationBar().get()), true);
}

}  // namespace
