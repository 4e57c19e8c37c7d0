// Gradient stops, gradient layers and the gradient fill of shapes, read from
// parsed files as the floor plans carry them.
#include <gtest/gtest.h>

#include "graphics/RecordingContext.h"
#include "graphics/ShapeLayer.h"
#include "svg/css/SVGLength.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGGradientElement.h"
#include "svg/elements/SVGGradientStop.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/layers/SVGGradientLayer.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/parser/SVGXParser.h"
#include "svg/sources/SVGXSourceString.h"

namespace svg {
namespace {

std::shared_ptr<SVGSVGElement> parseDocument(const std::string& body) {
    auto result = SVGXParser::parseSourceUsingDefaultSVGXParser(SVGXSourceString::sourceFromContentsOfString(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\" viewBox=\"0 0 400 200\">" + body +
        "</svg>"));
    return result->rootOfSVGTree();
}

template <class T>
std::shared_ptr<T> byId(const std::shared_ptr<SVGSVGElement>& root, const std::string& id) {
    return std::dynamic_pointer_cast<T>(root->getElementById(id));
}

graphics::LayerPtr pathLayer(const std::shared_ptr<SVGSVGElement>& root, const std::string& id) {
    auto path = byId<SVGPathElement>(root, id);
    return path ? path->newLayer() : nullptr;
}

TEST(GradientTest, StopsFoldOpacityIntoTheirColour) {
    auto root = parseDocument(R"svg(<linearGradient id="g">
        <stop id="green" offset="50%" stop-color="#00ff00" stop-opacity="0.5"/>
        <stop id="blue" offset="0.5" style="stop-color:red;stop-opacity:0.25" stop-color="blue"/>
        <stop id="clear" stop-opacity="0"/><stop id="black"/></linearGradient><stop id="stray"/>)svg");
    ASSERT_TRUE(root);
    auto stop = [&](const std::string& id) { return byId<SVGGradientStop>(root, id); };
    EXPECT_EQ(stop("green")->stopColor(), (SVGRGBAColor{0, 255, 0, 127}));
    EXPECT_EQ(stop("green")->offset(), 0.5);
    EXPECT_EQ(stop("blue")->offset(), 0.5);
    EXPECT_EQ(stop("blue")->stopColor(), (SVGRGBAColor{0, 0, 255, 63}));
    EXPECT_EQ(stop("clear")->stopColor(), (SVGRGBAColor{0, 0, 0, 0}));
    EXPECT_EQ(stop("black")->stopColor(), (SVGRGBAColor{0, 0, 0, 255}));
    EXPECT_EQ(stop("black")->offset(), 0);
    // A stop outside the gradient still joins the last gradient seen.
    EXPECT_EQ(byId<SVGGradientElement>(root, "g")->stops().size(), 5u);
}

TEST(GradientTest, LayersAreFramedAndNormalisedOnTheirRectangle) {
    auto root = parseDocument(R"svg(<g x1="40"><linearGradient id="lin" y1="0" x2="60%" y2="30" gradientTransform="scale(2)">
        <stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient></g>
        <radialGradient id="rad" cx="50" cy="20" r="25%" gradientUnits="userSpaceOnUse"
            gradientTransform="matrix(2 0 0 1 5 6)"><stop stop-color="red"/></radialGradient>)svg");
    ASSERT_TRUE(root);
    auto linear = byId<SVGGradientElement>(root, "lin");
    EXPECT_EQ(linear->getAttributeInheritedIfNil("x1"), "40");
    graphics::Rect shape(10, 20, 100, 50);
    auto layer = linear->newGradientLayerForObjectRect(shape, root->viewBox());
    EXPECT_EQ(layer->frame(), shape);
    EXPECT_EQ(layer->type(), graphics::kGradientLayerTypeAxial);
    // (40, 0) scaled by 2 is (80, 0): x from the rectangle's origin, y zero.
    EXPECT_EQ(layer->startPoint(), (graphics::Point{0.7, 0}));
    // The percentage enters the transform as its number: (120, 60).
    EXPECT_EQ(layer->endPoint(), (graphics::Point{1.1, 0.8}));
    EXPECT_EQ(layer->colors().size(), 2u);
    EXPECT_EQ(layer->locations(), (std::vector<double>{0, 1}));
    EXPECT_TRUE(linear->stops().empty());
    // A second layer keeps the colours though the stops are gone.
    EXPECT_EQ(linear->newGradientLayerForObjectRect(shape, root->viewBox())->colors(), layer->colors());

    auto radial = byId<SVGGradientElement>(root, "rad")->newGradientLayerForObjectRect(shape, root->viewBox());
    EXPECT_EQ(radial->frame(), graphics::Rect(0, 0, 400, 200));
    EXPECT_EQ(radial->type(), kSVGGradientLayerTypeRadial);
    EXPECT_EQ(radial->startPoint(), (graphics::Point{105, 26}));
    EXPECT_EQ(radial->endPoint(), (graphics::Point{0.25, 0.25}));
    EXPECT_EQ(radial->gradientTransform(), graphics::AffineTransform::make(2, 0, 0, 1, 0, 0));
    // Drawn about the centre, out to a quarter of the width.
    graphics::RecordingContext context;
    context.renderLayer(*radial);
    auto drawn = context.operationsOfKind(graphics::RecordedOperation::Kind::DrawRadialGradient);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].start, (graphics::Point{105, 26}));
    EXPECT_EQ(drawn[0].endRadius, 100);

    auto length = [](const char* text) { return SVGLength::svgLengthFromNSString(text); };
    EXPECT_EQ(SVGGradientElement::normalizeGradientCoordinate(*length("0"), *length("0"), shape),
              (graphics::Point{0, 0}));
    // No division by an empty rectangle.
    EXPECT_EQ(SVGGradientElement::normalizeGradientCoordinate(*length("5"), *length("3em"), graphics::Rect(1, 1, 0, 0)),
              (graphics::Point{0, 0}));
}

TEST(GradientTest, UrlFillsDrawTheGradientMaskedByTheShape) {
    auto root = parseDocument(R"svg(<defs><linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient></defs>
        <path id="room" d="M10 10 H30 V20 Z" fill="url(#g)"/>
        <path id="short" d="M0 0 H5 V5 Z" fill="url("/>
        <path id="notGradient" d="M0 0 H5 V5 Z" fill="url(#room)"/>
        <path id="nothing" d="M0 0 H5 V5 Z" fill="url(#none)"/>)svg");
    ASSERT_TRUE(root);
    auto layer = std::dynamic_pointer_cast<SVGGradientLayer>(pathLayer(root, "room"));
    ASSERT_TRUE(layer);
    // The view box halves the drawing to (5, 5, 10, 5).
    EXPECT_EQ(layer->frame(), graphics::Rect(5, 5, 10, 5));
    auto mask = std::dynamic_pointer_cast<graphics::ShapeLayer>(layer->mask());
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->valueForKey(kSVGElementIdentifierKey), foundation::Value("room"));
    EXPECT_EQ(mask->frame(), graphics::Rect(0, 0, 10, 5));
    ASSERT_TRUE(layer->maskPath());
    EXPECT_EQ(layer->maskPath()->boundingBox(), graphics::Rect(0, 0, 10, 5));
    EXPECT_TRUE(layer->containsPoint({9, 1}));
    EXPECT_FALSE(layer->containsPoint({1, 4}));  // inside the frame, outside the triangle

    graphics::RecordingContext context;
    context.renderLayer(*layer);
    auto clips = context.operationsOfKind(graphics::RecordedOperation::Kind::ClipToPath);
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips[0].path, *layer->maskPath());
    EXPECT_EQ(context.operationsOfKind(graphics::RecordedOperation::Kind::DrawLinearGradient).size(), 1u);

    EXPECT_FALSE(pathLayer(root, "short"));
    EXPECT_FALSE(pathLayer(root, "notGradient"));
    EXPECT_FALSE(pathLayer(root, "nothing"));
}

}  // namespace
}  // namespace svg
