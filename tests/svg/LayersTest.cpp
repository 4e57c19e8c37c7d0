// Element-to-layer building: group layout and keys, the shape layer's frame,
// stroke and fill, hit-testing by outline, use elements and their instance
// trees.
#include <gtest/gtest.h>

#include <numbers>

#include "graphics/ShapeLayer.h"
#include "svg/SVGTestSupport.h"
#include "svg/elements/SVGDescriptionElement.h"
#include "svg/elements/SVGGElement.h"
#include "svg/elements/SVGGroupElement.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGRGBAColor.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGTitleElement.h"
#include "svg/elements/SVGUseElement.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {
namespace {

using svg::testing::make;
using svg::testing::newLayerTree;
using Attributes = std::map<std::string, std::string>;

std::shared_ptr<graphics::ShapeLayer> shapeOf(const graphics::LayerPtr& layer) {
    return std::dynamic_pointer_cast<graphics::ShapeLayer>(layer);
}

// A path's layer inside an svg root, under any number of wrapping groups.
graphics::LayerPtr attributedPathLayer(const Attributes& attributes, const std::vector<Attributes>& groups = {}) {
    auto root = make<SVGSVGElement>("svg");
    std::shared_ptr<SVGElement> parent = root;
    for (const auto& group : groups) {
        auto g = make<SVGGElement>("g", group);
        parent->appendChild(g);
        parent = g;
    }
    auto path = make<SVGPathElement>("path", attributes);
    parent->appendChild(path);
    return path->newLayer();
}

graphics::Color rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return CGColorFromSVGRGBAColor({r, g, b, a}); }

TEST(LayersTest, GroupsFrameThemselvesAroundTheirChildren) {
    auto root = make<SVGSVGElement>("svg");
    auto group = make<SVGGElement>("g", {{"id", "floor"}});
    root->appendChild(group);
    group->appendChild(make<SVGRectElement>("rect", {{"x", "10"}, {"y", "10"}, {"width", "5"}, {"height", "5"}}));
    group->appendChild(make<SVGRectElement>("rect", {{"x", "30"}, {"y", "20"}, {"width", "10"}, {"height", "10"}}));

    auto layer = newLayerTree(group);
    EXPECT_EQ(layer->className(), "CALayerWithChildHitTest");
    EXPECT_EQ(layer->name(), "floor");
    EXPECT_EQ(layer->frame(), graphics::Rect(10, 10, 30, 20));
    ASSERT_EQ(layer->sublayers().size(), 2u);
    EXPECT_EQ(layer->sublayers()[0]->frame(), graphics::Rect(0, 0, 5, 5));
    EXPECT_EQ(layer->sublayers()[1]->frame(), graphics::Rect(20, 10, 10, 10));
    auto first = shapeOf(layer->sublayers()[0]);
    EXPECT_EQ(first->className(), "CAShapeLayerWithHitTest");
    EXPECT_EQ(first->fillColor(), rgba(0x12, 0x34, 0x56));
    EXPECT_TRUE(first->lineWidth() == 1.0 && !first->strokeColor());
    EXPECT_EQ(newLayerTree(make<SVGGElement>("g"))->frame(), graphics::Rect());

    // The opacity group starts its union at the origin and reads its own
    // attribute only.
    auto rect = [](const char* x, const char* y) {
        return make<SVGRectElement>("rect", {{"x", x}, {"y", y}, {"width", "10"}, {"height", "10"}});
    };
    auto opacityGroup =
        make<SVGGroupElement>("group", {{"opacity", "0.25"}, {"isSelectable", "false"}, {"type", "room"}});
    opacityGroup->appendChild(rect("50", "20"));
    opacityGroup->appendChild(rect("70", "30"));
    auto grouped = newLayerTree(opacityGroup);
    EXPECT_EQ(grouped->frame(), graphics::Rect(0, 0, 80, 40));
    EXPECT_EQ(grouped->sublayers()[0]->frame(), graphics::Rect(50, 20, 10, 10));
    EXPECT_EQ(grouped->opacity(), 0.25);
    EXPECT_EQ(grouped->valueForKey(kSVGElementIsSelectableKey), foundation::Value("false"));
    EXPECT_EQ(grouped->valueForKey(kSVGElementPointOfInterestTypeKey), foundation::Value("room"));
    opacityGroup->appendChild(rect("-10", "0"));
    auto shifted = newLayerTree(opacityGroup);
    EXPECT_EQ(shifted->frame(), graphics::Rect(-10, 0, 90, 40));
    EXPECT_EQ(shifted->sublayers()[0]->frame(), graphics::Rect(60, 20, 10, 10));
    EXPECT_EQ(make<SVGGroupElement>("group", {{"opacity", ""}})->opacity(), 1.0);
}

TEST(LayersTest, ShapeLayersTakeFrameStrokeAndFillFromTheCascade) {
    // The integral frame, with the path re-based onto it.
    auto framed = shapeOf(attributedPathLayer({{"d", "M10.3 20.7 L30.2 40.1"}}));
    EXPECT_EQ(framed->frame(), graphics::Rect(10, 20, 21, 21));
    EXPECT_NEAR(framed->path()->elements()[0].points[0].x, 0.3, 1e-5);
    EXPECT_NEAR(framed->path()->elements()[1].points[0].y, 20.1, 1e-5);
    EXPECT_FALSE(framed->name());
    EXPECT_EQ(framed->valueForKey(kSVGElementIdentifierKey), foundation::Value());

    // Only the stroke's width scales with the drawing, and by the length of
    // the transformed x axis.
    Attributes stroked = {{"d", "M0 0 L10 10"}, {"stroke", "black"}, {"stroke-width", "2"}};
    EXPECT_EQ(shapeOf(attributedPathLayer(stroked, {{{"transform", "scale(3,1)"}}}))->lineWidth(), 6);
    EXPECT_EQ(shapeOf(attributedPathLayer(stroked, {{{"transform", "scale(1,3)"}}}))->lineWidth(), 2);
    EXPECT_NEAR(shapeOf(attributedPathLayer(stroked, {{{"transform", "rotate(90)"}}, {{"transform", "scale(2)"}}}))->lineWidth(),
                4, 1e-9);
    auto styled = shapeOf(attributedPathLayer({{"d", "M0 0 L10 10"}, {"stroke", "#ff0000"}, {"stroke-opacity", "1.5"},
                                     {"stroke-linecap", "round"}, {"stroke-linejoin", "bevel"},
                                     {"stroke-miterlimit", "4"}, {"stroke-width", "3"}}));
    EXPECT_EQ(styled->strokeColor(), rgba(255, 0, 0, 126));
    EXPECT_EQ(styled->lineCap(), graphics::LineCap::Round);
    EXPECT_EQ(styled->lineJoin(), graphics::LineJoin::Bevel);
    EXPECT_EQ(styled->miterLimit(), 4);
    EXPECT_EQ(styled->lineWidth(), 3);
    auto unstroked = shapeOf(attributedPathLayer({{"d", "M0 0 L10 10"}, {"stroke", "none"}, {"stroke-width", "5"}}));
    EXPECT_EQ(unstroked->lineWidth(), 0);
    EXPECT_FALSE(unstroked->strokeColor());

    // Fills: a group's colour, none (by prefix), empty, opacity, references.
    auto filled = shapeOf(attributedPathLayer({{"d", "M0 0 H5 V5 Z"}, {"fill-opacity", "0.5"}},
                                    {{{"fill", "#00ff00"}, {"opacity", "0.5"}, {"id", "outer"}}}));
    EXPECT_EQ(filled->fillColor(), rgba(0, 255, 0, 127));
    EXPECT_EQ(filled->opacity(), 0.5);
    EXPECT_FALSE(shapeOf(attributedPathLayer({{"d", "M0 0 H5 V5 Z"}, {"fill", "nonesuch"}}))->fillColor());
    EXPECT_EQ(shapeOf(attributedPathLayer({{"d", "M0 0 H5 V5 Z"}, {"fill", ""}}))->fillColor(), graphics::Color::black());
    EXPECT_FALSE(attributedPathLayer({{"d", "M0 0 H5 V5 Z"}, {"fill", "url(#gradient)"}}));

    // Keys and name come from the element as written.
    auto room = attributedPathLayer({{"d", "M0 0 H5 V5 Z"}, {"id", "R12"}, {"isSelectable", "true"}, {"type", "restroom"}});
    EXPECT_EQ(room->name(), "R12");
    EXPECT_EQ(room->valueForKey(kSVGElementIdentifierKey), foundation::Value("R12"));
    EXPECT_EQ(room->valueForKey(kSVGElementIsSelectableKey), foundation::Value("true"));
    EXPECT_EQ(room->valueForKey(kSVGElementPointOfInterestTypeKey), foundation::Value("restroom"));

    // An svg viewport of 100 over a view box of 50 doubles the drawing.
    auto root = make<SVGSVGElement>("svg", {{"viewBox", "0 0 50 50"}});
    root->setViewport(SVGRectMake(0, 0, 100, 100));
    auto square = make<SVGRectElement>("rect", {{"x", "5"}, {"y", "5"}, {"width", "10"}, {"height", "10"}});
    root->appendChild(square);
    EXPECT_EQ(square->newLayer()->frame(), graphics::Rect(10, 10, 20, 20));
    EXPECT_EQ(root->newLayer()->frame(), graphics::Rect(0, 0, 100, 100));

    graphics::MutablePath curves, expected;
    curves.addQuadCurveToPoint({12, 14}, {16, 10});
    curves.addArc({10, 10}, 2, 0, 1, false);
    curves.closeSubpath();
    expected.addPath(curves, graphics::AffineTransform::makeTranslation(-10, -10));
    EXPECT_EQ(*SVGPathCreateByOffsetting(curves, {10, 10}), expected);
}

TEST(LayersTest, HitTestsAnswerByTheDrawnOutline) {
    auto root = make<SVGSVGElement>("svg", {{"width", "100"}, {"height", "100"}});
    auto group = make<SVGGElement>("g");
    root->appendChild(group);
    auto hall = make<SVGRectElement>("rect", {{"id", "hall"}, {"width", "100"}, {"height", "100"}});
    group->appendChild(hall);
    group->appendChild(make<SVGPathElement>("path", {{"id", "L"}, {"d", "M10 10 H30 V20 H20 V30 H10 Z"}}));
    group->appendChild(make<SVGRectElement>(
        "rect", {{"id", "round"}, {"x", "50"}, {"y", "50"}, {"width", "20"}, {"height", "20"}, {"rx", "5"}}));
    auto tree = newLayerTree(root);

    auto nameAt = [&](double x, double y) {
        auto hit = tree->hitTest({x, y});
        return hit && hit->name() ? *hit->name() : std::string("-");
    };
    EXPECT_EQ(nameAt(15, 25), "L");
    EXPECT_EQ(nameAt(25, 25), "hall");  // the L's empty corner
    EXPECT_EQ(nameAt(51.3, 51.3), "hall");
    EXPECT_EQ(nameAt(50.2, 55), "round");
    EXPECT_EQ(nameAt(55, 50.2), "round");
    EXPECT_EQ(nameAt(150, 50), "-");

    // A hole drawn in the outline's own direction stays inside.
    auto ring = attributedPathLayer({{"d", "M0 0 H30 V30 H0 Z M10 10 H20 V20 H10 Z"}});
    EXPECT_TRUE(ring->containsPoint({15, 15}));
    auto empty = make<SVGGElement>("g")->newLayer();
    empty->setBounds(graphics::Rect(0, 0, 50, 50));
    EXPECT_FALSE(empty->containsPoint({5, 5}));
    // Without the hall the group starts at (10, 10): points reach the
    // children through that offset.
    group->removeChild(hall);
    auto container = newLayerTree(group);
    EXPECT_TRUE(container->containsPoint({5, 15}));
    EXPECT_FALSE(container->containsPoint({15, 15}));
}

TEST(LayersTest, UseElementsDrawTheReferencedElement) {
    auto root = make<SVGSVGElement>("svg");
    auto original = make<SVGRectElement>("rect", {{"id", "desk"}, {"width", "10"}, {"height", "10"}});
    root->appendChild(original);
    auto use = make<SVGUseElement>("use", {{"transform", "translate(5,0)"}});
    root->appendChild(use);
    EXPECT_FALSE(use->newLayer());
    auto instance = std::make_shared<SVGElementInstance>();
    use->setInstanceRoot(instance);
    EXPECT_FALSE(use->newLayer());
    instance->setCorrespondingElement(original);
    instance->setCorrespondingUseElement(use);
    auto layer = use->newLayer();
    EXPECT_EQ(layer->name(), "desk");
    EXPECT_EQ(layer->affineTransform(), graphics::AffineTransform::makeTranslation(5, 0));
    EXPECT_EQ(layer->frame(), graphics::Rect(5, 0, 10, 10));
    instance->setCorrespondingElement(make<SVGRectElement>("rect", {{"height", "10"}}));
    EXPECT_TRUE(use->newLayer()->affineTransform().isIdentity());

    // The instance tree.
    auto parent = std::make_shared<SVGElementInstance>();
    auto a = std::make_shared<SVGElementInstance>(), b = std::make_shared<SVGElementInstance>();
    a->setParentNode(parent);
    b->setParentNode(parent);
    b->setParentNode(parent);
    EXPECT_EQ(parent->childNodes()->length(), 2u);
    EXPECT_TRUE(parent->firstChild() == a && parent->lastChild() == b);
    EXPECT_TRUE(a->nextSibling() == b && b->previousSibling() == a);
    EXPECT_FALSE(a->previousSibling() || b->nextSibling() || parent->childNodes()->item(2));
    a->setParentNode(nullptr);
    EXPECT_FALSE(a->parentNode());
    EXPECT_EQ(parent->firstChild(), b);
    EXPECT_TRUE(SVGTitleElement::shouldStoreContent());
    EXPECT_TRUE(SVGDescriptionElement::shouldStoreContent());
}

}  // namespace
}  // namespace svg
