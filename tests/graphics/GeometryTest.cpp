// Rectangles and affine transforms: the rules the layer builder and the SVG
// transform lists lean on.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/AffineTransform.h"
#include "graphics/Geometry.h"

using namespace graphics;

namespace {
void expectNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}
}  // namespace

TEST(Geometry, RectangleArithmetic) {
    // Integral: floor the origin, ceil the maximum edges.
    Rect r(10.3, 20.7, 30.2 - 10.3, 40.1 - 20.7);
    EXPECT_EQ(r.integral(), Rect(10, 20, 21, 21));

    // Null is not zero, and union ignores it; zero at the origin is a real
    // rectangle that a union must cover.
    EXPECT_TRUE(Rect::null().isNull());
    EXPECT_FALSE(Rect::zero().isNull());
    Rect child(50, 20, 30, 20);
    EXPECT_EQ(Rect::null().unionWith(child), child);
    EXPECT_EQ(Rect::zero().unionWith(child), Rect(0, 0, 80, 40));
    EXPECT_EQ(Rect(10, 10, 5, 5).unionWith(Rect(30, 20, 10, 10)), Rect(10, 10, 30, 20));

    // Disjoint rectangles have a null intersection; touching ones an empty one.
    EXPECT_TRUE(Rect(0, 0, 10, 10).intersection(Rect(20, 20, 5, 5)).isNull());
    Rect touching = Rect(0, 0, 10, 10).intersection(Rect(10, 0, 5, 5));
    EXPECT_FALSE(touching.isNull());
    EXPECT_TRUE(touching.isEmpty());
    EXPECT_EQ(Rect(0, 0, 10, 10).intersection(Rect(5, -5, 10, 10)), Rect(5, 0, 5, 5));

    // Negative sizes read through the standardized form.
    Rect flipped(10, 10, -10, -10);
    EXPECT_EQ(flipped.minX(), 0);
    EXPECT_EQ(flipped.maxY(), 10);
    EXPECT_TRUE(flipped.contains({0, 0}));

    // Min edges in, max edges out.
    Rect box(0, 0, 10, 10);
    EXPECT_TRUE(box.contains({0, 0}));
    EXPECT_FALSE(box.contains({10, 5}));
    EXPECT_FALSE(box.contains({5, 10}));
    EXPECT_FALSE(Rect::null().contains({0, 0}));

    EXPECT_EQ(box.offsetBy(-3, 4), Rect(-3, 4, 10, 10));
    EXPECT_EQ(box.insetBy(2, 3), Rect(2, 3, 6, 4));
    EXPECT_TRUE(box.insetBy(6, 0).isNull());
    EXPECT_EQ(toString(Rect(1.5, 2, 3, 4)), "{{1.5, 2}, {3, 4}}");
}

TEST(Geometry, AffineTransforms) {
    // "translate(10,20) scale(2)": the scale acts on the point first.
    AffineTransform list = concat(AffineTransform::makeScale(2, 2), AffineTransform::makeTranslation(10, 20));
    expectNear(list.apply(Point{1, 1}), {12, 22});
    // The builders put their step first, so the same list reads naturally.
    EXPECT_EQ(AffineTransform::makeTranslation(10, 20).scale(2, 2), list);

    // "A then B" applies A first.
    AffineTransform a = AffineTransform::makeTranslation(5, 0);
    AffineTransform b = AffineTransform::makeScale(3, 1);
    expectNear(concat(a, b).apply(Point{1, 0}), {18, 0});
    expectNear(concat(b, a).apply(Point{1, 0}), {8, 0});

    // rotate(90) about (10,10) keeps the centre and turns +x toward +y.
    AffineTransform about = AffineTransform::makeTranslation(10, 10).rotate(std::numbers::pi / 2).translate(-10, -10);
    expectNear(about.apply(Point{10, 10}), {10, 10});
    expectNear(about.apply(Point{11, 10}), {10, 11});

    AffineTransform m = AffineTransform::make(2, 1, -1, 3, 4, -5);
    expectNear(concat(m, m.invert()).apply(Point{7, -2}), {7, -2});
    AffineTransform singular = AffineTransform::makeScale(0, 1);
    EXPECT_FALSE(singular.isInvertible());
    EXPECT_EQ(singular.invert(), singular);

    // Sizes ignore translation; a rectangle maps to its corners' bounding box.
    EXPECT_EQ(a.apply(Size{2, 3}), (Size{2, 3}));
    Rect turned = AffineTransform::makeRotation(std::numbers::pi / 4).apply(Rect(0, 0, 2, 2));
    EXPECT_NEAR(turned.minX(), -std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(turned.width(), 2 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(turned.height(), 2 * std::sqrt(2.0), 1e-9);
    EXPECT_TRUE(a.apply(Rect::null()).isNull());
}
