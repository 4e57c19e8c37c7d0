// A controller's own life: the lazy view, parents and children, the
// appearance callbacks of presentation and of a window root change, and the
// release of the old tree.
#include <gtest/gtest.h>

#include <algorithm>

#include "../dispatch/VirtualTime.h"
#include "foundation/Exception.h"
#include "ViewControllerTestSupport.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UINib.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace {

using uikit::UIViewController;
using uikit_test::Journal;
using uikit_test::JournaledController;
using uikit_test::nextTurn;
using Lines = std::vector<std::string>;

class ControllerTest : public uikit_test::WindowTest {
protected:
    std::shared_ptr<JournaledController> make(const std::string& name) {
        return std::make_shared<JournaledController>(name, journal);
    }
    // The journal since the last call.
    Lines take() {
        Lines lines = *journal;
        journal->clear();
        return lines;
    }
};

TEST_F(ControllerTest, ViewLoadsOnFirstAccessOnceAndFillsTheScreen) {
    auto controller = make("A");
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_TRUE(take().empty());
    const auto view = controller->view();
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(view->frame(), uikit::UIScreen::mainScreen().bounds());
    EXPECT_EQ(view->viewController(), controller);
    EXPECT_EQ(view->nextResponder(), controller);
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(take(), Lines{"A viewDidLoad"});
    // A layout pass of the view ends in viewDidLayoutSubviews.
    const int layouts = controller->layouts;
    view->setFrame({0, 0, 200, 200});
    view->layoutIfNeeded();
    EXPECT_EQ(controller->layouts, layouts + 1);
    // Made in code: never marked as made by an interface file.
    EXPECT_FALSE(controller->isMadeFromInterfaceFile());

    auto built = std::make_shared<JournaledController>("B", journal);
    auto custom = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 10, 10});
    built->setViewBuilder([&](UIViewController&) { return custom; });
    EXPECT_EQ(built->view(), custom);
    EXPECT_EQ(take(), Lines{"B viewDidLoad"});
}

TEST_F(ControllerTest, ANibNamedControllerTakesItsViewFromTheNib) {
    auto nibView = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 320, 100});
    uikit::UINib::registerNib("PageForTest", [&](const foundation::ObjectPtr& owner) {
        std::dynamic_pointer_cast<UIViewController>(owner)->setView(nibView);
        return std::vector<foundation::ObjectPtr>{nibView};
    });
    auto controller = std::make_shared<JournaledController>("N", journal, std::string("PageForTest"));
    EXPECT_EQ(controller->nibName(), "PageForTest");
    EXPECT_EQ(controller->view(), nibView);
    EXPECT_FALSE(controller->isMadeFromInterfaceFile());
    uikit::UINib::unregisterNib("PageForTest");

    auto missing = std::make_shared<JournaledController>("M", journal, std::string("NoSuchNib"));
    EXPECT_THROW(missing->view(), foundation::Exception);
}

TEST_F(ControllerTest, ChildrenMoveWithCallbacksAndShareAppearance) {
    auto parent = make("P");
    auto child = make("C");
    parent->addChildViewController(child);
    parent->view()->addSubview(child->view());
    child->didMoveToParentViewController(parent.get());
    EXPECT_EQ(child->parentViewController(), parent);
    EXPECT_EQ(parent->childViewControllers().size(), 1u);
    EXPECT_EQ(take(), (Lines{"C willMove", "P viewDidLoad", "C viewDidLoad", "C didMove"}));

    window->setRootViewController(parent);
    EXPECT_EQ(take(), (Lines{"P willAppear", "C willAppear"}));
    nextTurn();
    EXPECT_EQ(take(), (Lines{"P didAppear", "C didAppear"}));

    child->willMoveToParentViewController(nullptr);
    child->removeFromParentViewController();
    EXPECT_EQ(child->parentViewController(), nullptr);
    EXPECT_TRUE(parent->childViewControllers().empty());
    EXPECT_EQ(take(), (Lines{"C willMove(nil)", "C didMove(nil)"}));
}

TEST_F(ControllerTest, FullScreenPresentAndDismissRunTheCallbacksInThePlatformOrder) {
    auto root = make("A");
    window->setRootViewController(root);
    nextTurn();
    take();

    auto presented = make("B");
    bool completed = false;
    root->presentViewController(presented, true, [&] { completed = true; });
    EXPECT_EQ(presented->presentingViewController(), root);
    EXPECT_EQ(root->presentedViewController(), presented);
    EXPECT_TRUE(root->lastTransitionAnimated());
    EXPECT_EQ(presented->view()->superview(), window);
    EXPECT_EQ(presented->view()->frame(), window->bounds());
    EXPECT_EQ(take(), (Lines{"B viewDidLoad", "A willDisappear", "B willAppear"}));
    EXPECT_FALSE(completed);
    nextTurn();
    EXPECT_EQ(take(), (Lines{"A didDisappear", "B didAppear"}));
    EXPECT_TRUE(completed);
    // What a full-screen controller covers is no longer on screen.
    EXPECT_EQ(root->view()->superview(), nullptr);

    // Dismissing from the presented controller goes through its presenter.
    presented->dismissViewControllerAnimated(false);
    EXPECT_FALSE(root->lastTransitionAnimated());
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(root->view()->superview(), window);
    EXPECT_EQ(take(), (Lines{"B willDisappear", "A willAppear"}));
    presented.reset();
    nextTurn();
    EXPECT_EQ(take(), (Lines{"B didDisappear", "A didAppear", "B dealloc"}));
    EXPECT_EQ(window->subviews(), std::vector<uikit::UIViewPtr>{root->view()});

    // Dismissing a presentation dismisses what it presents in turn.
    auto first = make("P");
    auto second = make("Q");
    root->presentViewController(first, false);
    nextTurn();
    first->presentViewController(second, false);
    nextTurn();
    take();
    root->dismissViewControllerAnimated(false);
    EXPECT_EQ(first->presentedViewController(), nullptr);
    EXPECT_EQ(second->presentingViewController(), nullptr);
    EXPECT_EQ(take(), (Lines{"Q willDisappear", "A willAppear"}));
    nextTurn();
    EXPECT_EQ(take(), (Lines{"Q didDisappear", "A didAppear"}));
    EXPECT_EQ(window->subviews(), std::vector<uikit::UIViewPtr>{root->view()});
}

TEST_F(ControllerTest, FormSheetOnThePadLeavesItsPresenterOnScreen) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPad());
    auto root = make("A");
    window->setRootViewController(root);
    nextTurn();
    take();

    auto sheet = make("S");
    sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    root->presentViewController(sheet, true);
    EXPECT_EQ(sheet->view()->frame(), (graphics::Rect{114, 202, 540, 620}));
    nextTurn();
    root->dismissViewControllerAnimated(true);
    nextTurn();
    EXPECT_EQ(take(), (Lines{"S viewDidLoad", "S willAppear", "S didAppear", "S willDisappear", "S didDisappear"}));
    EXPECT_EQ(root->view()->superview(), window);
}

TEST_F(ControllerTest, FormSheetOnThePhoneFillsTheScreen) {
    auto root = make("A");
    window->setRootViewController(root);
    nextTurn();
    take();
    auto sheet = make("S");
    sheet->setModalPresentationStyle(uikit::UIModalPresentationStyle::FormSheet);
    root->presentViewController(sheet, false);
    EXPECT_EQ(sheet->view()->frame(), window->bounds());
    EXPECT_EQ(take(), (Lines{"S viewDidLoad", "A willDisappear", "S willAppear"}));
}

TEST_F(ControllerTest, ChildrenDismissThroughTheirContainers) {
    auto root = make("A");
    auto child = make("C");
    root->addChildViewController(child);
    window->setRootViewController(root);
    auto presented = make("P");
    auto inner = make("I");
    presented->addChildViewController(inner);
    root->presentViewController(presented, false);
    nextTurn();
    // A child of the presented controller dismisses it.
    inner->dismissViewControllerAnimated(false);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    nextTurn();
    // A child of the presenting controller dismisses what it presents.
    root->presentViewController(presented, false);
    nextTurn();
    child->dismissViewControllerAnimated(true);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_TRUE(root->lastTransitionAnimated());
}

TEST_F(ControllerTest, PresentingTwiceOrAnActiveControllerIsRefused) {
    auto root = make("A");
    window->setRootViewController(root);
    auto first = make("B");
    root->presentViewController(first, false);
    root->presentViewController(make("C"), false);  // already presenting: ignored
    EXPECT_EQ(root->presentedViewController(), first);
    auto other = make("D");
    EXPECT_THROW(other->presentViewController(first, false), foundation::Exception);
}

TEST_F(ControllerTest, NewWindowRootReleasesTheOldTreeAfterItsTransition) {
    {
        auto root = make("A");
        auto child = make("C");
        root->addChildViewController(child);
        root->view()->addSubview(child->view());
        child->didMoveToParentViewController(root.get());
        window->setRootViewController(root);
        nextTurn();
        auto presented = make("P");
        root->presentViewController(presented, false);
        nextTurn();
    }
    take();
    auto next = make("N");
    window->setRootViewController(next);
    EXPECT_EQ(next->view()->superview(), window);
    EXPECT_EQ(next->view()->frame(), window->bounds());
    EXPECT_EQ(take(), (Lines{"P willDisappear", "N viewDidLoad", "N willAppear"}));
    nextTurn();
    Lines lines = take();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), (Lines{"P didDisappear", "N didAppear"}));
    Lines released(lines.begin() + 2, lines.end());
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (Lines{"A dealloc", "C dealloc", "P dealloc"}));
    EXPECT_EQ(window->subviews(), std::vector<uikit::UIViewPtr>{next->view()});
}

}  // namespace
