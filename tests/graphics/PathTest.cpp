// Paths: building (lines, curves, arcs, ellipses, transforms), bounds and
// containment under both fill rules.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/MutablePath.h"

using namespace graphics;
using Type = PathElement::Type;

namespace {
constexpr double pi = std::numbers::pi;

MutablePath polygon(std::initializer_list<Point> points) {
    MutablePath path;
    bool first = true;
    for (Point p : points) {
        if (first) path.moveToPoint(p);
        else path.addLineToPoint(p);
        first = false;
    }
    path.closeSubpath();
    return path;
}
}  // namespace

TEST(Path, ContainmentByFillRule) {
    MutablePath room = polygon({{200, 20}, {300, 20}, {300, 140}, {250, 140}, {250, 60}, {200, 60}});
    EXPECT_TRUE(room.containsPoint({275, 100}));
    EXPECT_FALSE(room.containsPoint({225, 100}));  // the empty corner of the L
    EXPECT_TRUE(room.containsPoint({225, 40}));

    // A hole drawn in the same direction as its ring.
    MutablePath ring = polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    ring.addPath(polygon({{25, 25}, {75, 25}, {75, 75}, {25, 75}}));
    EXPECT_TRUE(ring.containsPoint({50, 50}, FillRule::NonZero));
    EXPECT_FALSE(ring.containsPoint({50, 50}, FillRule::EvenOdd));
    EXPECT_TRUE(ring.containsPoint({10, 50}, FillRule::EvenOdd));
    // Drawn the other way round, it is a hole under both rules.
    MutablePath reversed = polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    reversed.addPath(polygon({{25, 25}, {25, 75}, {75, 75}, {75, 25}}));
    EXPECT_FALSE(reversed.containsPoint({50, 50}, FillRule::NonZero));

    // Curves are followed, not their control polygons; an open subpath
    // counts as closed.
    MutablePath circle;
    circle.addEllipseInRect(Rect(0, 0, 100, 100));
    EXPECT_TRUE(circle.containsPoint({50, 50}));
    EXPECT_TRUE(circle.containsPoint({50, 1}));
    EXPECT_FALSE(circle.containsPoint({5, 5}));
    MutablePath open;
    open.moveToPoint({0, 0});
    open.addLineToPoint({10, 0});
    open.addQuadCurveToPoint({10, 10}, {0, 10});
    EXPECT_TRUE(open.containsPoint({5, 5}));
    EXPECT_FALSE(MutablePath().containsPoint({0, 0}));
}

TEST(Path, BuildingRules) {
    MutablePath path;
    path.addLineToPoint({5, 5});  // no current point: ignored
    EXPECT_TRUE(path.isEmpty());
    EXPECT_FALSE(path.currentPoint());

    AffineTransform shift = AffineTransform::makeTranslation(10, 0);
    path.moveToPoint({0, 0}, shift);
    path.addLineToPoint({0, 10}, shift);
    path.closeSubpath();
    path.closeSubpath();  // a second close adds nothing
    EXPECT_EQ(path.currentPoint(), (Point{10, 0}));
    path.addLineToPoint({20, 20});  // reopens at the closed subpath's start
    ASSERT_EQ(path.elements().size(), 5u);
    EXPECT_EQ(path.elements()[3].type, Type::MoveToPoint);
    EXPECT_EQ(path.elements()[3].points[0], (Point{10, 0}));

    // Rectangles start at the origin and run along the top edge first.
    MutablePath rect;
    rect.addRect(Rect(1, 2, 3, 4));
    ASSERT_EQ(rect.elements().size(), 5u);
    EXPECT_EQ(rect.elements()[1].points[0], (Point{4, 2}));
    EXPECT_EQ(rect.elements()[4].type, Type::CloseSubpath);

    // Shared immutable copies do not follow later changes.
    PathPtr frozen = rect.copy();
    rect.addRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(frozen->elements().size(), 5u);
    EXPECT_NE(*frozen, rect);
}

TEST(Path, ArcsAndBounds) {
    // A quarter turn from 0 to pi/2 is one curve ending on the circle; the
    // same angles clockwise go the long way, three quarters.
    MutablePath quarter;
    quarter.addArc({0, 0}, 10, 0, pi / 2, false);
    ASSERT_EQ(quarter.elements().size(), 2u);
    EXPECT_EQ(quarter.elements()[0].points[0], (Point{10, 0}));
    Point end = quarter.elements()[1].points[2];
    EXPECT_NEAR(end.x, 0, 1e-9);
    EXPECT_NEAR(end.y, 10, 1e-9);
    MutablePath longWay;
    longWay.addArc({0, 0}, 10, 0, pi / 2, true);
    EXPECT_EQ(longWay.elements().size(), 4u);

    // A full turn or more is one circle; the curve stays within a hair of it.
    MutablePath full;
    full.addArc({50, 50}, 20, 0, 5 * pi, false);
    EXPECT_EQ(full.elements().size(), 5u);
    Rect tight = full.pathBoundingBox();
    EXPECT_NEAR(tight.minX(), 30, 1e-3);
    EXPECT_NEAR(tight.maxY(), 70, 1e-3);

    // An arc after a segment joins it with a line.
    MutablePath joined;
    joined.moveToPoint({0, 0});
    joined.addArc({20, 0}, 5, pi, 0, true);
    EXPECT_EQ(joined.elements()[1].type, Type::AddLineToPoint);
    EXPECT_NEAR(joined.elements()[1].points[0].x, 15, 1e-9);
    EXPECT_NEAR(joined.elements()[1].points[0].y, 0, 1e-9);

    // Control points widen the bounding box but not the path's own box.
    MutablePath curve;
    curve.moveToPoint({0, 0});
    curve.addCurveToPoint({0, 40}, {40, 40}, {40, 0});
    EXPECT_EQ(curve.boundingBox(), Rect(0, 0, 40, 40));
    EXPECT_NEAR(curve.pathBoundingBox().height(), 30, 1e-9);
    EXPECT_TRUE(MutablePath().boundingBox().isNull());

    // Paths added through a transform carry it into every point.
    MutablePath moved;
    moved.addPath(curve, AffineTransform::makeTranslation(5, 5));
    EXPECT_EQ(moved.boundingBox(), Rect(5, 5, 40, 40));
}
