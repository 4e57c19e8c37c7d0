// Scroll views: a person's drag is seen step by step by "contentOffset"
// observers and the delegate with the dragging flag on, and its release
// returns a pulled content to its resting offset (read after the delegate
// had its say on release) or snaps a paging view to a page; setting the
// offset reports one scroll; a web view scrolls through a real scroll view.
#include <gtest/gtest.h>

#include <variant>

#include "foundation/Exception.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIWebView.h"

namespace {

using graphics::Point;
using uikit::UIEdgeInsets;
using uikit::UIScrollView;

struct ScrollRecorder : uikit::UIScrollViewDelegate {
    std::vector<std::string> events;
    std::optional<UIEdgeInsets> insetOnRelease;
    void scrollViewDidScroll(UIScrollView& view) override {
        events.push_back("scroll " + std::to_string(int(view.contentOffset().y)) + (view.isDragging() ? " dragging" : ""));
    }
    void scrollViewWillBeginDragging(UIScrollView&) override { events.push_back("begin"); }
    void scrollViewDidEndDragging(UIScrollView& view, bool willDecelerate) override {
        events.push_back(std::string("end") + (willDecelerate ? " decelerate" : ""));
        if (insetOnRelease) view.setContentInset(*insetOnRelease);
    }
};

std::shared_ptr<UIScrollView> makeScrollView() {
    auto view = std::make_shared<UIScrollView>(graphics::Rect{{0, 0}, {320, 480}});
    view->setContentSize({320, 1000});
    view->setContentInset({64, 0, 0, 0});
    view->setContentOffset({0, -64});
    return view;
}

TEST(UIScrollViewTest, PullDownIsObservedAtEachStepAndReturnsToMinusTheTopInset) {
    auto view = makeScrollView();
    auto delegate = std::make_shared<ScrollRecorder>();
    view->setDelegate(delegate);
    std::vector<std::pair<double, bool>> seen;
    view->addObserverForKeyPath(UIScrollView::kContentOffsetKey,
                                [&](UIScrollView& v, const std::string& key, const UIScrollView::ObservedValue& value) {
                                    EXPECT_EQ(key, "contentOffset");
                                    seen.emplace_back(std::get<Point>(value).y, v.isDragging() && v.isTracking());
                                });

    ASSERT_TRUE(view->dragThroughContentOffsets({{0, -80}, {0, -100}, {0, -120}}));

    // Three steps of the finger, then the content travels back on its own.
    ASSERT_EQ(seen.size(), 3u + 6u);
    EXPECT_EQ(seen[0], std::make_pair(-80.0, true));
    EXPECT_EQ(seen[1], std::make_pair(-100.0, true));
    EXPECT_EQ(seen[2], std::make_pair(-120.0, true));
    EXPECT_EQ(seen[3], std::make_pair(-110.0, false));
    EXPECT_EQ(seen.back(), std::make_pair(-64.0, false));
    EXPECT_EQ(view->contentOffset(), (Point{0, -64}));
    EXPECT_FALSE(view->isDragging());
    EXPECT_FALSE(view->isTracking());
    EXPECT_FALSE(view->isDecelerating());
    ASSERT_EQ(delegate->events.size(), 1u + 3u + 1u + 6u);
    EXPECT_EQ(std::vector<std::string>(delegate->events.begin(), delegate->events.begin() + 6),
              (std::vector<std::string>{"begin", "scroll -80 dragging", "scroll -100 dragging", "scroll -120 dragging",
                                        "end decelerate", "scroll -110"}));
    EXPECT_EQ(delegate->events.back(), "scroll -64");
}

// A refresh control's way: once the returning content passes into its band,
// it widens the top inset, and the content rests under the wider inset.
TEST(UIScrollViewTest, AnInsetChangedOnTheWayBackHoldsTheContent) {
    auto view = makeScrollView();
    view->addObserverForKeyPath("contentOffset", [](UIScrollView& v, const std::string&, const UIScrollView::ObservedValue& value) {
        double o = std::get<Point>(value).y + 64;
        if (!v.isDragging() && o >= -44 && o < 0 && v.contentInset().top == 64) v.setContentInset({64 + 44, 0, 0, 0});
    });
    view->dragThroughContentOffsets({{0, -200}});
    EXPECT_EQ(view->contentOffset().y, -108);
}

TEST(UIScrollViewTest, ReleaseRestsAtTheInsetTheDelegateSetsOnRelease) {
    auto view = makeScrollView();
    auto delegate = std::make_shared<ScrollRecorder>();
    delegate->insetOnRelease = UIEdgeInsets{124, 0, 0, 0};
    view->setDelegate(delegate);
    std::vector<UIEdgeInsets> insets;
    view->addObserverForKeyPath("contentInset", [&](UIScrollView&, const std::string&, const UIScrollView::ObservedValue& v) {
        insets.push_back(std::get<UIEdgeInsets>(v));
    });
    view->dragThroughContentOffsets({{0, -150}});
    EXPECT_EQ(view->contentOffset().y, -124);
    ASSERT_EQ(insets.size(), 1u);
    EXPECT_EQ(insets[0].top, 124);

    // Pushed past the end, the content comes back to its last screenful.
    view->dragThroughContentOffsets({{0, 900}});
    EXPECT_EQ(view->contentOffset().y, 1000 - 480);
}

TEST(UIScrollViewTest, PagingBouncesAndProgrammaticOffsets) {
    auto view = std::make_shared<UIScrollView>(graphics::Rect{{0, 0}, {300, 200}});
    view->setContentSize({1200, 200});
    view->setPagingEnabled(true);
    view->dragThroughContentOffsets({{100, 0}, {170, 0}});
    EXPECT_EQ(view->contentOffset(), (Point{300, 0}));
    view->dragThroughContentOffsets({{-50, 0}});
    EXPECT_EQ(view->contentOffset(), (Point{0, 0}));

    // Without bounces the finger cannot pull the content past its ends.
    view->setBounces(false);
    view->beginDragging();
    view->dragToContentOffset({-80, 0});
    EXPECT_EQ(view->contentOffset(), (Point{0, 0}));
    view->endDragging();

    // Scrolling disabled: no drag at all.
    view->setScrollEnabled(false);
    EXPECT_FALSE(view->dragThroughContentOffsets({{600, 0}}));
    EXPECT_EQ(view->contentOffset(), (Point{0, 0}));

    // An animated offset moves at once, reports one scroll and is recorded.
    auto delegate = std::make_shared<ScrollRecorder>();
    view->setDelegate(delegate);
    view->setContentOffset({600, 0}, true);
    EXPECT_EQ(view->contentOffset(), (Point{600, 0}));
    EXPECT_EQ(view->bounds().origin, (Point{600, 0}));
    EXPECT_TRUE(view->lastContentOffsetAnimated());
    EXPECT_EQ(delegate->events.size(), 1u);

    EXPECT_THROW(view->addObserverForKeyPath("contentSize", {}), foundation::Exception);
}

TEST(UIScrollViewTest, RemovedObserversHearNothing) {
    auto view = makeScrollView();
    int heard = 0;
    auto id = view->addObserverForKeyPath("contentOffset", [&](UIScrollView&, const std::string&, const UIScrollView::ObservedValue&) { ++heard; });
    view->setContentOffset({0, 10});
    view->removeObserver(id);
    view->setContentOffset({0, 20});
    EXPECT_EQ(heard, 1);
}

TEST(UIScrollViewTest, AWebViewScrollsThroughARealScrollView) {
    auto web = std::make_shared<uikit::UIWebView>(graphics::Rect{{0, 0}, {320, 400}});
    UIScrollView& scroll = web->scrollView();
    EXPECT_EQ(scroll.className(), "UIScrollView");
    EXPECT_EQ(scroll.superview(), web);
    EXPECT_EQ(scroll.frame().size, (graphics::Size{320, 400}));
    scroll.setBounces(false);
    EXPECT_FALSE(web->scrollView().bounces());
}

}  // namespace
