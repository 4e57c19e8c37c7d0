// The layer tree: geometry, tree upkeep, point conversion, values and
// hit-testing through an overridden containsPoint.
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/Exception.h"
#include "graphics/GradientLayer.h"
#include "graphics/MutablePath.h"
#include "graphics/ShapeLayer.h"
#include "graphics/TextLayer.h"

using namespace graphics;

namespace {

// A shape that answers by its path, as the floor-plan library's rooms do.
class PathHitLayer : public ShapeLayer {
public:
    std::string className() const override { return "PathHitLayer"; }
    LayerPtr makeLayerOfSameClass() const override { return std::make_shared<PathHitLayer>(); }
    bool containsPoint(Point p) const override {
        return bounds().contains(p) && path() && path()->containsPoint(p);
    }
};

std::shared_ptr<PathHitLayer> room(const Rect& frame, PathPtr path) {
    auto layer = std::make_shared<PathHitLayer>();
    layer->setFrame(frame);
    layer->setPath(std::move(path));
    return layer;
}

}  // namespace

TEST(Layer, GeometryAndTree) {
    auto layer = Layer::layer();
    layer->setFrame(Rect(10, 20, 100, 50));
    EXPECT_EQ(layer->position(), (Point{60, 45}));  // anchor at the centre
    EXPECT_EQ(layer->bounds(), Rect(0, 0, 100, 50));
    layer->setAnchorPoint({0, 0});
    EXPECT_EQ(layer->frame(), Rect(60, 45, 100, 50));
    layer->setAffineTransform(AffineTransform::makeScale(2, 2));
    EXPECT_EQ(layer->frame(), Rect(60, 45, 200, 100));
    EXPECT_TRUE(layer->transform().isAffine());

    auto parent = Layer::layer();
    auto other = Layer::layer();
    auto a = Layer::layer();
    auto b = Layer::layer();
    parent->addSublayer(a);
    parent->addSublayer(b);
    other->addSublayer(a);  // moves, never shared
    EXPECT_EQ(parent->sublayers(), std::vector<LayerPtr>{b});
    EXPECT_EQ(a->superlayer(), other);
    parent->insertSublayer(a, 0);
    EXPECT_EQ(parent->sublayers(), (std::vector<LayerPtr>{a, b}));
    EXPECT_TRUE(other->sublayers().empty());
    b->removeFromSuperlayer();
    EXPECT_EQ(b->superlayer(), nullptr);
    EXPECT_EQ(parent->sublayers().size(), 1u);
    EXPECT_THROW(a->addSublayer(parent), foundation::Exception);
    parent->setSublayers({b});
    EXPECT_EQ(a->superlayer(), nullptr);
    EXPECT_EQ(b->superlayer(), parent);

    // Points convert through positions, anchors and transforms both ways.
    auto root = Layer::layer();
    root->setFrame(Rect(0, 0, 400, 400));
    auto group = Layer::layer();
    group->setFrame(Rect(100, 50, 100, 100));
    auto inner = Layer::layer();
    inner->setFrame(Rect(10, 10, 20, 20));
    inner->setAffineTransform(AffineTransform::makeRotation(std::numbers::pi / 2));
    root->addSublayer(group);
    group->addSublayer(inner);
    Point inRoot = inner->convertPointToLayer({0, 0}, root.get());
    EXPECT_NEAR(inRoot.x, 130, 1e-9);
    EXPECT_NEAR(inRoot.y, 60, 1e-9);
    Point back = inner->convertPointFromLayer(inRoot, root.get());
    EXPECT_NEAR(back.x, 0, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
    // A rotated layer's frame is the box around its turned bounds.
    Rect turned = inner->frame();
    EXPECT_NEAR(turned.minX(), 10, 1e-9);
    EXPECT_NEAR(turned.width(), 20, 1e-9);
    // Between sibling subtrees, and to the space around the root.
    auto cousin = Layer::layer();
    cousin->setFrame(Rect(300, 300, 10, 10));
    root->addSublayer(cousin);
    Point inCousin = inner->convertPointToLayer({0, 0}, cousin.get());
    EXPECT_NEAR(inCousin.x, -170, 1e-9);
    EXPECT_NEAR(inCousin.y, -240, 1e-9);
    root->setPosition({210, 200});
    EXPECT_NEAR(inner->convertPointToLayer({0, 0}, nullptr).x, 140, 1e-9);
}

TEST(Layer, ValuesAndClasses) {
    auto layer = ShapeLayer::layer();
    EXPECT_TRUE(layer->valueForKey("SVGElementIdentifier").isAbsent());
    layer->setValue("", "SVGElementIdentifier");
    EXPECT_TRUE(layer->valueForKey("SVGElementIdentifier").isString());
    layer->setValue(foundation::Value(), "SVGElementIdentifier");
    EXPECT_TRUE(layer->valueForKey("SVGElementIdentifier").isAbsent());
    layer->setValue("a", "first");
    layer->setValue("b", "second");
    layer->setValue("c", "first");
    EXPECT_EQ(layer->valueForKey("first").stringValue(), "c");
    EXPECT_EQ(layer->valueForKey("second").stringValue(), "b");

    // Corners, border and shadow read the platform's defaults until one is
    // set, and setting one leaves the others at theirs.
    EXPECT_EQ(layer->shadowOffset(), (Size{0, -3}));
    layer->setShadowOpacity(0.5);
    EXPECT_EQ(layer->shadowRadius(), 3);
    EXPECT_EQ(layer->shadowColor(), Color::black());
    EXPECT_EQ(layer->borderColor(), Color::black());
    EXPECT_EQ(layer->cornerRadius(), 0);
    EXPECT_TRUE(layer->transform().isIdentity());
    layer->setAffineTransform(AffineTransform::makeTranslation(4, 5));
    EXPECT_EQ(layer->affineTransform(), AffineTransform::makeTranslation(4, 5));
    layer->setTransform(Transform3D::identity());
    EXPECT_TRUE(layer->transform().isIdentity());

    EXPECT_EQ(Layer().className(), "CALayer");
    EXPECT_EQ(layer->className(), "CAShapeLayer");
    EXPECT_EQ(TextLayer().className(), "CATextLayer");
    EXPECT_EQ(GradientLayer().className(), "CAGradientLayer");
    LayerPtr fresh = PathHitLayer().makeLayerOfSameClass();
    EXPECT_EQ(fresh->className(), "PathHitLayer");

    // Defaults the floor-plan builder relies on.
    EXPECT_EQ(layer->fillColor(), Color::black());
    EXPECT_FALSE(layer->strokeColor());
    EXPECT_EQ(layer->lineWidth(), 1);
    EXPECT_EQ(layer->anchorPoint(), (Point{0.5, 0.5}));
    EXPECT_FALSE(layer->name());

    // Layers travel in values as objects.
    foundation::Value held(layer);
    EXPECT_EQ(held.objectAs<ShapeLayer>(), layer);
}

TEST(Layer, HitTestAsksContainsPointFrontMostFirst) {
    auto root = Layer::layer();
    root->setFrame(Rect(0, 0, 400, 200));
    // An L-shaped room whose bounds cover its empty corner, and behind it a
    // plain layer covering that corner.
    auto lShape = std::make_shared<MutablePath>();
    for (Point p : {Point{0, 0}, Point{100, 0}, Point{100, 120}, Point{50, 120}, Point{50, 40}, Point{0, 40}}) {
        if (lShape->isEmpty()) lShape->moveToPoint(p);
        else lShape->addLineToPoint(p);
    }
    lShape->closeSubpath();
    auto back = Layer::layer();
    back->setFrame(Rect(200, 60, 40, 80));
    auto front = room(Rect(200, 20, 100, 120), lShape);
    root->addSublayer(back);
    root->addSublayer(front);

    EXPECT_EQ(root->hitTest({275, 100}), front);
    EXPECT_EQ(root->hitTest({225, 100}), back);  // falls through the corner
    EXPECT_EQ(root->hitTest({320, 100}), root);
    EXPECT_EQ(root->hitTest({500, 100}), nullptr);

    front->setHidden(true);
    EXPECT_EQ(root->hitTest({275, 100}), root);
    front->setHidden(false);

    // The deepest layer answers; coordinates pass through each level.
    auto nested = room(Rect(10, 10, 20, 20), [] {
        auto p = std::make_shared<MutablePath>();
        p->addRect(Rect(0, 0, 20, 20));
        return p;
    }());
    front->addSublayer(nested);
    EXPECT_EQ(root->hitTest({215, 35}), nested);
    EXPECT_EQ(root->hitTest({235, 35}), front);
}
