// The replace segues: the destination takes the source's place at once under
// a picture of the old screen, which leaves when the 1.0 s transition that
// starts 0.1 s later ends; the pad keeps the split view's menu button. The
// empty segue changes nothing.
#include <gtest/gtest.h>

#include <memory>

#include "support/ScreenTest.h"
#include "app/EmptySegue.h"
#include "app/PushCurlDownSegue.h"
#include "app/PushCurlUpSegue.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIImageView.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIView.h"

namespace {

using uikit::UIViewControllerPtr;

struct Stack {
    std::shared_ptr<uikit::UINavigationController> navigation;
    UIViewControllerPtr root;
    UIViewControllerPtr source;
    UIViewControllerPtr destination;
};

Stack makeStack() {
    Stack stack;
    stack.root = std::make_shared<uikit::UIViewController>();
    stack.source = std::make_shared<uikit::UIViewController>();
    stack.destination = std::make_shared<uikit::UIViewController>();
    stack.navigation = uikit::UINavigationController::withRootViewController(stack.root);
    stack.navigation->pushViewController(stack.source, false);
    return stack;
}

std::shared_ptr<uikit::UIImageView> screenshotOn(const UIViewControllerPtr& controller) {
    const auto& subviews = controller->view()->subviews();
    return subviews.empty() ? nullptr : std::dynamic_pointer_cast<uikit::UIImageView>(subviews.back());
}

class PhoneSegueTest : public ScreenTest {};
class PadSegueTest : public ScreenTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

}  // namespace

TEST_F(PhoneSegueTest, ACurlShowsTheDestinationAtOnceAndRemovesThePictureAfterOnePointOneSeconds) {
    auto stack = makeStack();
    showRoot(stack.navigation);
    uikit::UIView::clearRecordedAnimations();

    auto segue = std::make_shared<PushCurlUpSegue>("next", stack.source, stack.destination);
    EXPECT_EQ(segue->animationType(), 3ul << 20);
    segue->perform();
    EXPECT_EQ(stack.navigation->viewControllers(), (std::vector<UIViewControllerPtr>{stack.root, stack.destination}));
    EXPECT_FALSE(stack.navigation->lastTransitionAnimated());
    auto picture = screenshotOn(stack.destination);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(picture->image());
    EXPECT_EQ(picture->frame(), stack.source->view()->bounds());

    advance(0.05);
    EXPECT_TRUE(uikit::UIView::recordedAnimations().empty());
    advance(0.06);
    ASSERT_EQ(uikit::UIView::recordedAnimations().size(), 1u);
    const auto& transition = uikit::UIView::recordedAnimations().front();
    EXPECT_EQ(transition.kind, uikit::UIViewAnimationKind::Transition);
    EXPECT_DOUBLE_EQ(transition.duration, 1.0);
    EXPECT_EQ(transition.options, uikit::UIViewAnimationOptionTransitionCurlUp);
    EXPECT_EQ(transition.view.lock(), stack.destination->view());
    EXPECT_EQ(picture->superview(), stack.destination->view());

    advance(0.95);
    EXPECT_EQ(picture->superview(), stack.destination->view());
    advance(0.05);
    EXPECT_FALSE(picture->superview());
}

TEST_F(PadSegueTest, ThePadSwapsTheTopOfTheStackAndKeepsTheMenuButton) {
    auto stack = makeStack();
    auto menu = uikit::UIBarButtonItem::withTitle("Menu", uikit::UIBarButtonItemStyle::Plain);
    stack.source->navigationItem()->setLeftBarButtonItem(menu);
    showRoot(stack.navigation);
    uikit::UIView::clearRecordedAnimations();

    PushCurlDownSegue segue("next", stack.source, stack.destination);
    EXPECT_EQ(segue.animationType(), 4ul << 20);
    segue.perform();
    EXPECT_EQ(stack.navigation->viewControllers(), (std::vector<UIViewControllerPtr>{stack.root, stack.destination}));
    EXPECT_EQ(stack.destination->navigationItem()->leftBarButtonItem(), menu);
    auto picture = screenshotOn(stack.destination);
    ASSERT_TRUE(picture);
    advance(0.2);
    advance(1.0);
    EXPECT_FALSE(picture->superview());
    ASSERT_EQ(uikit::UIView::recordedAnimations().size(), 1u);
    EXPECT_EQ(uikit::UIView::recordedAnimations().front().options, uikit::UIViewAnimationOptionTransitionCurlDown);
}

TEST_F(PhoneSegueTest, TheEmptySegueLeavesTheScreensAsTheyWere) {
    auto stack = makeStack();
    showRoot(stack.navigation);
    const auto before = dump();
    EmptySegue segue("nothing", stack.source, stack.destination);
    segue.perform();
    settle();
    EXPECT_EQ(stack.navigation->viewControllers(), (std::vector<UIViewControllerPtr>{stack.root, stack.source}));
    EXPECT_FALSE(stack.source->presentedViewController());
    EXPECT_FALSE(stack.destination->isViewLoaded());
    EXPECT_EQ(dump(), before);
}
