#include <gtest/gtest.h>

#include <vector>

#include "Utils/CountBadge.h"
#include "Utils/MESegmentedControl.h"
#include "foundation/Exception.h"
#include "graphics/RecordingContext.h"
#include "graphics/TextMeasurer.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIFont.h"

using graphics::Rect;
using Kind = graphics::RecordedOperation::Kind;

namespace {

double boldWidth(const std::string& text) {
    return graphics::TextMeasurer::width(uikit::UIFont::boldSystemFontOfSize(12)->font(), text);
}

class BadgedControl : public ::testing::Test {
protected:
    void SetUp() override {
        uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
        parent->addSubview(control);
    }

    uikit::UIViewPtr parent = std::make_shared<uikit::UIView>(Rect(0, 0, 320, 100));
    MESegmentedControlPtr control = std::make_shared<MESegmentedControl>(
        std::vector<uikit::UISegmentedControl::Item>{std::string("A"), std::string("B"), std::string("C")},
        Rect(10, 20, 300, 29));
};

}  // namespace

TEST(CountBadge, SizesToItsTextKeepingTheOrigin) {
    auto one = CountBadge::countBadgeWithString("7");
    EXPECT_EQ(one->frame(), Rect(0, 0, 25, 25));
    EXPECT_EQ(one->badgeText(), "7");
    EXPECT_EQ(one->contentScaleFactor(), 2);
    EXPECT_EQ(one->badgeCornerRoundness(), 0.4);
    EXPECT_TRUE(one->badgeShining());
    auto two = CountBadge::countBadgeWithString("12");
    EXPECT_DOUBLE_EQ(two->frame().width(), boldWidth("12") + 17);
    EXPECT_EQ(two->frame().height(), 25);
    two->setFrame(Rect(40, 8, 1, 1));
    two->autoBadgeSizeWithString("123");
    EXPECT_EQ(two->frame().origin, (graphics::Point{40, 8}));
    EXPECT_DOUBLE_EQ(two->frame().width(), boldWidth("123") + 18);
    EXPECT_EQ(two->badgeText(), "123");
    auto big = CountBadge::countBadgeWithString("9", graphics::Color::black(), graphics::Color::white(), false,
                                                graphics::Color::white(), 2, false);
    EXPECT_EQ(big->frame(), Rect(0, 0, 50, 50));
    EXPECT_FALSE(big->badgeFrame());
}

TEST(CountBadge, DrawsTheShadowedBodyTheShineTheFrameAndTheCentredText) {
    auto badge = CountBadge::countBadgeWithString("12");
    graphics::RecordingContext context;
    badge->display(context);
    std::vector<Kind> kinds;
    for (const auto& op : context.operations()) {
        if (op.kind == Kind::FillPath || op.kind == Kind::DrawLinearGradient || op.kind == Kind::StrokePath ||
            op.kind == Kind::ClipToPath || op.kind == Kind::DrawText)
            kinds.push_back(op.kind);
    }
    // The first fill is the clear background.
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::FillPath, Kind::FillPath, Kind::ClipToPath, Kind::DrawLinearGradient,
                                        Kind::StrokePath, Kind::DrawText}));
    auto fills = context.operationsOfKind(Kind::FillPath);
    ASSERT_TRUE(fills[1].shadow);
    EXPECT_EQ(fills[1].shadow->offset, (graphics::Size{1, 1}));
    EXPECT_EQ(fills[1].shadow->blur, 3);
    EXPECT_EQ(*fills[1].color, graphics::Color::rgb(1, 0, 0));
    // The pill stays 10 % inside the 25-point height.
    Rect pill = fills[1].path.boundingBox();
    EXPECT_NEAR(pill.minY(), 2.5, 1e-9);
    EXPECT_NEAR(pill.maxY(), 22.5, 1e-9);
    auto gradient = context.operationsOfKind(Kind::DrawLinearGradient)[0];
    EXPECT_EQ(gradient.end, (graphics::Point{0, 22.5}));
    EXPECT_EQ(gradient.gradient->locations(), (std::vector<double>{0, 0.4}));
    EXPECT_EQ(context.operationsOfKind(Kind::StrokePath)[0].stroke->lineWidth, 2);
    auto text = context.operationsOfKind(Kind::DrawText)[0];
    EXPECT_EQ(text.text, "12");
    EXPECT_EQ(text.font->pointSize(), 13.5);
    const double textWidth = graphics::TextMeasurer::width(*text.font, "12");
    EXPECT_NEAR(text.start.x, badge->bounds().width() / 2 - textWidth / 2, 1e-9);
    // No shadow left behind for what the context draws next.
    EXPECT_FALSE(context.operations().back().shadow);

    auto single = CountBadge::countBadgeWithString("5", graphics::Color::white(), graphics::Color::black(), true,
                                                   graphics::Color::white(), 2, false);
    graphics::RecordingContext other;
    single->display(other);
    EXPECT_TRUE(other.operationsOfKind(Kind::DrawLinearGradient).empty());
    EXPECT_EQ(other.operationsOfKind(Kind::StrokePath)[0].stroke->lineWidth, 2.5);
    EXPECT_DOUBLE_EQ(other.operationsOfKind(Kind::DrawText)[0].font->pointSize(), 13.5 * 2 * 1.2);
}

TEST_F(BadgedControl, ABadgeAppearsChangesAndGoes) {
    int blockRuns = 0;
    auto count = [&](const CountBadgePtr& badge) {
        ASSERT_TRUE(badge);
        ++blockRuns;
    };
    control->setBadgeNumber(3, 0, count);
    ASSERT_TRUE(control->badgeView());
    EXPECT_EQ(control->badgeView()->superview(), parent);
    EXPECT_EQ(control->badgeView()->frame(), control->frame());
    EXPECT_FALSE(control->badgeView()->isUserInteractionEnabled());
    CountBadgePtr badge = control->segmentBadges()[0];
    ASSERT_TRUE(badge);
    EXPECT_EQ(badge->frame(), Rect(100 - 25 + 5, -5, 25, 25));
    EXPECT_EQ(control->segmentBadgeNumbers(), (std::vector<unsigned>{3, 0, 0}));

    control->setBadgeNumber(5, 0, count);
    EXPECT_EQ(control->segmentBadges()[0], badge);
    EXPECT_EQ(badge->badgeText(), "5");
    EXPECT_EQ(control->badgeView()->subviews().size(), 1u);
    control->setBadgeNumber(5, 0, count);
    EXPECT_EQ(blockRuns, 3);

    control->setBadgeNumber(12, 2);
    EXPECT_EQ(control->segmentBadges()[2]->frame().minX(), 300 - control->segmentBadges()[2]->frame().width() + 5);
    control->setBadgeNumber(0, 0, count);
    EXPECT_EQ(blockRuns, 3);
    EXPECT_FALSE(control->segmentBadges()[0]);
    EXPECT_FALSE(badge->superview());
    control->setBadgeNumber(0, 1);
    EXPECT_EQ(control->badgeView()->subviews().size(), 1u);
    EXPECT_EQ(control->getBadgeNumberForSegmentAtIndex(2), 12u);

    EXPECT_THROW(control->setBadgeNumber(1, 0, {}), foundation::Exception);
    EXPECT_THROW(control->setBadgeNumber(1, 3), foundation::Exception);
}

TEST_F(BadgedControl, ClearingAndLeavingTakeTheOverlayAway) {
    control->setBadgeNumber(4, 1);
    auto overlay = control->badgeView();
    control->clearBadges();
    EXPECT_EQ(control->getBadgeNumberForSegmentAtIndex(1), 0u);
    EXPECT_FALSE(overlay->superview());
    EXPECT_TRUE(control->segmentBadges().empty());
    control->setBadgeNumber(2, 1);
    ASSERT_TRUE(control->badgeView());
    EXPECT_NE(control->badgeView(), overlay);
    EXPECT_EQ(control->badgeView()->superview(), parent);
    ASSERT_TRUE(control->segmentBadges()[1]);
    EXPECT_EQ(control->segmentBadges()[1]->badgeText(), "2");

    overlay = control->badgeView();
    control->removeFromSuperview();
    EXPECT_FALSE(overlay->superview());

    // Back in a superview, the numbers are kept but the overlay stays away
    // until the badges are cleared.
    parent->addSubview(control);
    control->setBadgeNumber(3, 2);
    EXPECT_EQ(control->getBadgeNumberForSegmentAtIndex(1), 2u);
    EXPECT_FALSE(control->badgeView()->superview());
    control->clearBadges();
    control->setBadgeNumber(1, 0);
    EXPECT_EQ(control->badgeView()->superview(), parent);
}
