// Simulated taps and swipes on recognisers attached to views.
#include <gtest/gtest.h>

#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIView.h"

namespace {

using graphics::Point;

TEST(GestureRecognizer, SwipeCallsItsTargetWithTheDirectionAndLocationUnlessDisabled) {
    auto window = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    auto view = std::make_shared<uikit::UIView>(graphics::Rect(100, 200, 100, 100));
    window->addSubview(view);
    std::vector<std::pair<unsigned, Point>> calls;
    Point inWindow;
    auto swipe = std::make_shared<uikit::UISwipeGestureRecognizer>([&](uikit::UIGestureRecognizer& r) {
        auto& s = dynamic_cast<uikit::UISwipeGestureRecognizer&>(r);
        calls.emplace_back(s.direction(), s.locationInView(view.get()));
        inWindow = s.locationInView(nullptr);
    });
    swipe->setDirection(uikit::UISwipeGestureRecognizerDirectionLeft | uikit::UISwipeGestureRecognizerDirectionRight);
    EXPECT_FALSE(swipe->fireAtPoint({10, 20}, uikit::UISwipeGestureRecognizerDirectionLeft));  // on no view yet
    view->addGestureRecognizer(swipe);
    EXPECT_EQ(swipe->view(), view);

    EXPECT_TRUE(swipe->fireAtPoint({10, 20}, uikit::UISwipeGestureRecognizerDirectionLeft));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, 2u);
    EXPECT_EQ(calls[0].second, (Point{10, 20}));
    EXPECT_EQ(inWindow, (Point{110, 220}));
    EXPECT_FALSE(swipe->fireAtPoint({10, 20}, uikit::UISwipeGestureRecognizerDirectionUp));  // not asked for
    // Fired as any recogniser (the screen driver's way), it swipes the way it recognises.
    uikit::UIGestureRecognizer& plain = *swipe;
    EXPECT_TRUE(plain.fireAtPoint({1, 2}));
    EXPECT_EQ(calls.back().first, 3u);
    EXPECT_EQ(swipe->direction(), 3u);
    calls.pop_back();

    swipe->setEnabled(false);
    EXPECT_FALSE(swipe->fireAtPoint({10, 20}, uikit::UISwipeGestureRecognizerDirectionLeft));
    EXPECT_EQ(calls.size(), 1u);

    view->removeGestureRecognizer(swipe);
    EXPECT_EQ(swipe->view(), nullptr);
    EXPECT_TRUE(view->gestureRecognizers().empty());
}

TEST(GestureRecognizer, TapNeedsTheRequiredNumberOfTaps) {
    auto view = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 100, 100));
    int taps = 0;
    auto tap = std::make_shared<uikit::UITapGestureRecognizer>([&](uikit::UIGestureRecognizer&) { ++taps; });
    tap->setNumberOfTapsRequired(2);
    view->addGestureRecognizer(tap);
    EXPECT_FALSE(tap->fireAtPoint({5, 5}));
    EXPECT_TRUE(tap->fireAtPoint({5, 5}, 2));
    EXPECT_EQ(taps, 1);

    // Moving it to another view takes it off the first.
    auto other = std::make_shared<uikit::UIView>();
    other->addGestureRecognizer(tap);
    EXPECT_TRUE(view->gestureRecognizers().empty());
    EXPECT_EQ(tap->view(), other);
}

}  // namespace
