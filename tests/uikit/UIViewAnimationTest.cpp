// View animations on the virtual clock: final values at once, records, and
// completions only when the clock passes delay + duration.
#include <gtest/gtest.h>

#include "dispatch/VirtualTime.h"
#include "foundation/Clock.h"
#include "uikit/UIView.h"

namespace {

using uikit::UIView;

class UIViewAnimation : public VirtualTime {
protected:
    void SetUp() override {
        VirtualTime::SetUp();
        UIView::clearRecordedAnimations();
    }
    void TearDown() override {
        UIView::clearRecordedAnimations();
        VirtualTime::TearDown();
    }
};

TEST_F(UIViewAnimation, ValuesAreFinalAtOnceAndTheCompletionWaitsForTheClock) {
    auto v = std::make_shared<UIView>(graphics::Rect(0, 0, 10, 10));
    int completions = 0;
    bool finished = false;
    UIView::animateWithDuration(
        10.0, 0.3, uikit::UIViewAnimationOptionCurveEaseIn, [&] { v->setAlpha(0); },
        [&](bool f) {
            ++completions;
            finished = f;
        });
    EXPECT_EQ(v->alpha(), 0);
    ASSERT_EQ(UIView::recordedAnimations().size(), 1u);
    const auto& record = UIView::recordedAnimations()[0];
    EXPECT_EQ(record.kind, uikit::UIViewAnimationKind::Animation);
    EXPECT_EQ(record.duration, 10.0);
    EXPECT_EQ(record.delay, 0.3);
    EXPECT_EQ(record.options, uikit::UIViewAnimationOptionCurveEaseIn);

    foundation::RunLoop::main().runDueTasks();
    foundation::Clock::advance(10.0);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(completions, 0);
    foundation::Clock::advance(0.29);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(completions, 0);
    foundation::Clock::advance(0.02);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(UIView::recordedAnimations()[0].finished);
}

TEST_F(UIViewAnimation, TransitionsCompleteAfterTheirDurationAndUnanimatedWorkRecordsNothing) {
    auto v = std::make_shared<UIView>(graphics::Rect(0, 0, 10, 10));
    bool done = false;
    UIView::transitionWithView(
        v, 1.0, uikit::UIViewAnimationOptionTransitionCrossDissolve, [&] { v->setHidden(true); },
        [&](bool) { done = true; });
    EXPECT_TRUE(v->isHidden());
    ASSERT_EQ(UIView::recordedAnimations().size(), 1u);
    EXPECT_EQ(UIView::recordedAnimations()[0].kind, uikit::UIViewAnimationKind::Transition);
    EXPECT_EQ(UIView::recordedAnimations()[0].view.lock(), v);
    foundation::Clock::advance(0.99);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_FALSE(done);
    foundation::Clock::advance(0.01);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_TRUE(done);

    UIView::clearRecordedAnimations();
    bool inner = false;
    UIView::performWithoutAnimation([&] {
        v->setAlpha(0.5);
        UIView::animateWithDuration(5, [&] { v->setAlpha(0.25); }, [&](bool) { inner = true; });
    });
    EXPECT_EQ(v->alpha(), 0.25);
    EXPECT_TRUE(UIView::recordedAnimations().empty());
    foundation::RunLoop::main().runDueTasks();  // the next turn, not after 5 s
    EXPECT_TRUE(inner);
}

}  // namespace
