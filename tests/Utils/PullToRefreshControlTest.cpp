#include "Utils/PullToRefreshControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "../support/ScreenTest.h"
#include "graphics/LayerAnimation.h"
#include "graphics/ShapeLayer.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

using graphics::LayerAnimation;
using graphics::Point;
using graphics::Rect;

namespace {

constexpr double kTopInset = 64;
constexpr double kTableWidth = 320;

// Thirty rows; section headers of a given height (0: none).
class RefreshRows : public uikit::UITableViewDataSource, public uikit::UITableViewDelegate {
public:
    explicit RefreshRows(double headerHeight) : headerHeight_(headerHeight) {}
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) override { return 30; }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView&, const uikit::NSIndexPath&) override {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, "row");
    }
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) override { return headerHeight_; }

private:
    double headerHeight_;
};

class PullToRefreshControlTest : public ScreenTest {
protected:
    void makeTable(double headerHeight = 0) {
        rows_ = std::make_shared<RefreshRows>(headerHeight);
        table_ = std::make_shared<uikit::UITableView>(Rect(0, 0, kTableWidth, 480));
        table_->setDataSource(rows_);
        table_->setDelegate(rows_);
        table_->setContentInset({kTopInset, 0, 0, 0});
        table_->setContentOffset({0, -kTopInset});
        table_->reloadData();
        control_ = PullToRefreshControl::initInScrollView(table_);
        control_->addTarget([this](uikit::UIControl&) { ++fired_; }, uikit::UIControlEventValueChanged);
    }
    void SetUp() override {
        ScreenTest::SetUp();
        makeTable();
    }

    // Drags the content to a pull of o points (counted from the top inset), held.
    void holdAt(double o) {
        if (!table_->isDragging()) table_->beginDragging();
        table_->dragToContentOffset({0, -kTopInset + o});
    }
    // A pull in 1-point steps down to o, then the release.
    void pullTo(double o) {
        table_->beginDragging();
        for (double step = -1; step >= o; --step) table_->dragToContentOffset({0, -kTopInset + step});
        table_->endDragging();
    }
    double pulled() const { return table_->contentOffset().y + kTopInset; }

    std::shared_ptr<RefreshRows> rows_;
    std::shared_ptr<uikit::UITableView> table_;
    PullToRefreshControlPtr control_;
    int fired_ = 0;
};

TEST_F(PullToRefreshControlTest, aPullShortOfTheLimitDrawsTheStretchedDropAndTriggersNothing) {
    EXPECT_EQ(control_->frame(), Rect(0, -(kTopInset + 400), kTableWidth, 400));
    holdAt(-95);
    EXPECT_EQ(fired_, 0);
    const auto& drop = control_->shapeLayer()->path();
    ASSERT_TRUE(drop);
    EXPECT_EQ(control_->shapeLayer()->shadowPath(), drop);
    // 52 of 53 points stretched: the upper circle follows the content's top edge.
    const double p = 1.0 / 53;
    const double topRadius = 12.5 + 3.5 * p, bottomRadius = 3 + 13 * p;
    const Point top{160, 400 - 95 + (9 - 4 * p) + topRadius};
    const double bottomY = 400 - (4 + 2 * p) - bottomRadius;
    EXPECT_NEAR(drop->elements().front().points[0].x, top.x + topRadius, 1e-9);
    EXPECT_NEAR(drop->elements().front().points[0].y, top.y, 1e-9);
    Rect box = drop->pathBoundingBox();
    EXPECT_NEAR(box.minY(), top.y - topRadius, 1e-6);
    EXPECT_NEAR(box.maxY(), bottomY + bottomRadius, 1e-6);
    EXPECT_NEAR(box.minX(), top.x - topRadius, 1e-6);
    // The arrow is a ring (even-odd): empty in its middle, filled on the ring.
    const auto& arrow = control_->arrowLayer()->path();
    ASSERT_TRUE(arrow);
    EXPECT_FALSE(arrow->containsPoint(top, graphics::FillRule::EvenOdd));
    EXPECT_TRUE(arrow->containsPoint({top.x, top.y + 5 + 2 * p}, graphics::FillRule::EvenOdd));
    EXPECT_TRUE(control_->highlightLayer()->path());

    // Released, the content goes back and the drop shrinks away untriggered.
    table_->endDragging();
    EXPECT_EQ(fired_, 0);
    EXPECT_EQ(pulled(), 0);
    EXPECT_FALSE(control_->shapeLayer()->path());
}

TEST_F(PullToRefreshControlTest, aPullToTheLimitTriggersOnceSnapsTheDropAndOpensTheBand) {
    holdAt(-96);
    EXPECT_EQ(fired_, 1);
    EXPECT_TRUE(control_->isRefreshing());
    for (const char* key : {"path", "shadowPath"}) {
        auto animation = control_->shapeLayer()->animationForKey(key);
        ASSERT_TRUE(animation) << key;
        EXPECT_EQ(animation->duration(), 0.15);
        EXPECT_EQ(animation->fillMode(), LayerAnimation::FillMode::Forwards);
        EXPECT_FALSE(animation->isRemovedOnCompletion());
        // The small drop: a circle of 5.6 around the upper centre.
        EXPECT_NEAR(std::get<graphics::PathPtr>(animation->toValue())->pathBoundingBox().size.width, 11.2, 1e-6);
    }
    auto dropFade = control_->shapeLayer()->animationForKey("opacity");
    ASSERT_TRUE(dropFade);
    EXPECT_NEAR(dropFade->beginTime(), foundation::Clock::now() + 0.1, 1e-9);
    EXPECT_EQ(control_->arrowLayer()->animationForKey("opacity")->beginTime(), 0);
    // The spinner grows from a tenth after 0.15 s over 0.2 s.
    const auto& grow = uikit::UIView::recordedAnimations().back();
    EXPECT_EQ(grow.duration, 0.2);
    EXPECT_EQ(grow.delay, 0.15);
    EXPECT_EQ(control_->activityView()->alpha(), 1);

    // Pulling on during the same refresh triggers nothing more.
    holdAt(-60);
    holdAt(-150);
    EXPECT_EQ(fired_, 1);
    // Released, the content stops at a 44-point band with the spinner in it.
    table_->endDragging();
    EXPECT_EQ(table_->contentInset().top, kTopInset + 44);
    EXPECT_EQ(pulled(), -44);
    EXPECT_EQ(control_->activityView()->center().y, 400 - 22);
    EXPECT_EQ(fired_, 1);
}

TEST_F(PullToRefreshControlTest, endRefreshingClosesTheBandAndResetsTheDropWhenItsAnimationEnds) {
    pullTo(-150);
    ASSERT_EQ(fired_, 1);
    uikit::UIView::clearRecordedAnimations();
    control_->endRefreshing();
    ASSERT_EQ(uikit::UIView::recordedAnimations().size(), 1u);
    EXPECT_EQ(uikit::UIView::recordedAnimations().front().duration, 0.4);
    EXPECT_EQ(table_->contentInset().top, kTopInset);
    EXPECT_EQ(pulled(), 0);
    EXPECT_EQ(control_->activityView()->alpha(), 0);

    advance(0.4);
    for (const auto& layer : {control_->shapeLayer(), control_->arrowLayer(), control_->highlightLayer()}) {
        EXPECT_TRUE(layer->animationKeys().empty());
        EXPECT_FALSE(layer->path());
        EXPECT_EQ(layer->opacity(), 1);
    }
    EXPECT_EQ(control_->shapeLayer()->position(), Point(0, 0));
    // Back at rest: the next pull triggers again.
    pullTo(-150);
    EXPECT_EQ(fired_, 2);
}

TEST_F(PullToRefreshControlTest, afterEndRefreshingANewPullTriggersOnlyOnceTheContentWasBackAtRest) {
    holdAt(-100);
    ASSERT_EQ(fired_, 1);
    control_->endRefreshing();
    holdAt(-40);
    holdAt(-150);
    EXPECT_EQ(fired_, 1);
    EXPECT_FALSE(control_->shapeLayer()->path());
    table_->endDragging();
    advance(0.4);
    pullTo(-150);
    EXPECT_EQ(fired_, 2);
}

TEST_F(PullToRefreshControlTest, aDisabledControlHidesTheDropAndIgnoresPulls) {
    control_->setEnabled(false);
    EXPECT_TRUE(control_->shapeLayer()->isHidden());
    holdAt(-60);
    EXPECT_FALSE(control_->shapeLayer()->path());
    holdAt(-150);
    table_->endDragging();
    EXPECT_EQ(fired_, 0);
    control_->setEnabled(true);
    pullTo(-150);
    EXPECT_EQ(fired_, 1);
}

TEST_F(PullToRefreshControlTest, beginRefreshingOpensTheBandWithoutMovingTheContentOrSending) {
    table_->setContentOffset({0, 100});
    control_->beginRefreshing();
    EXPECT_TRUE(control_->isRefreshing());
    EXPECT_EQ(fired_, 0);
    EXPECT_EQ(table_->contentOffset(), Point(0, 100));
    EXPECT_EQ(table_->contentInset().top, kTopInset + 44);
    EXPECT_EQ(control_->activityView()->alpha(), 1);
    EXPECT_EQ(control_->shapeLayer()->animationForKey("opacity")->duration(), 0.0001);
    control_->beginRefreshing();
    EXPECT_EQ(table_->contentInset().top, kTopInset + 44);
    control_->endRefreshing();
    EXPECT_EQ(table_->contentInset().top, kTopInset);
}

TEST_F(PullToRefreshControlTest, anInsetSetFromOutsideMovesTheControlAndIsRestoredAfterARefresh) {
    table_->setContentInset({100, 0, 0, 0});
    EXPECT_EQ(control_->frame(), Rect(0, -500, kTableWidth, 400));
    table_->beginDragging();
    for (double y = -101; y >= -250; --y) table_->dragToContentOffset({0, y});
    table_->endDragging();
    ASSERT_EQ(fired_, 1);
    EXPECT_EQ(table_->contentInset().top, 144);
    // The control's own band is not taken for the owner's inset.
    EXPECT_EQ(control_->originalContentInset().top, 100);
    control_->endRefreshing();
    advance(0.4);
    EXPECT_EQ(table_->contentInset().top, 100);
}

TEST_F(PullToRefreshControlTest, theBandFollowsTheFingerUpTo44PointsOnlyOverSectionHeaders) {
    pullTo(-150);
    holdAt(-30);
    EXPECT_EQ(table_->contentInset().top, kTopInset + 44);
    table_->endDragging();

    control_->removeFromSuperview();
    makeTable(23);
    pullTo(-150);
    ASSERT_EQ(fired_, 2);
    // The band opens where the returning content first passes into it.
    EXPECT_GE(pulled(), -44);
    EXPECT_EQ(table_->contentInset().top, kTopInset - pulled());
    holdAt(-30);
    EXPECT_EQ(table_->contentInset().top, kTopInset + 30);
    holdAt(-70);
    EXPECT_EQ(table_->contentInset().top, kTopInset + 30);
    // Scrolled into the content, the headers need no band at all.
    holdAt(20);
    EXPECT_EQ(table_->contentInset().top, kTopInset);
    table_->endDragging();
}

TEST_F(PullToRefreshControlTest, theSpinnerStyleAndColourReachOnlyAnActivityIndicator) {
    auto spinner = std::dynamic_pointer_cast<uikit::UIActivityIndicatorView>(control_->activityView());
    ASSERT_TRUE(spinner);
    EXPECT_EQ(spinner->activityIndicatorViewStyle(), uikit::UIActivityIndicatorViewStyle::Gray);
    control_->setActivityIndicatorViewStyle(0);
    EXPECT_EQ(spinner->activityIndicatorViewStyle(), uikit::UIActivityIndicatorViewStyle::WhiteLarge);
    control_->setActivityIndicatorViewColor(graphics::Color::rgb(0, 0, 1));
    EXPECT_EQ(control_->activityIndicatorViewColor(), graphics::Color::rgb(0, 0, 1));

    auto plain = std::make_shared<uikit::UIView>(Rect(0, 0, 30, 30));
    auto withView = PullToRefreshControl::initInScrollView(std::make_shared<uikit::UITableView>(Rect(0, 0, kTableWidth, 480)), plain);
    withView->setActivityIndicatorViewStyle(1);
    EXPECT_EQ(withView->activityIndicatorViewStyle(), 0);
    EXPECT_FALSE(withView->activityIndicatorViewColor());
}

TEST_F(PullToRefreshControlTest, removalFromTheScrollViewEndsTheWatching) {
    std::weak_ptr<PullToRefreshControl> weak = control_;
    control_->removeFromSuperview();
    EXPECT_FALSE(control_->scrollView());
    pullTo(-150);
    EXPECT_EQ(fired_, 0);
    control_.reset();
    EXPECT_TRUE(weak.expired());
    pullTo(-150);
}

}  // namespace
