// The basic shapes' attributes and geometry.
#include <gtest/gtest.h>

#include "foundation/Log.h"
#include "svg/css/SVGLength.h"
#include "svg/elements/SVGCircleElement.h"
#include "svg/elements/SVGLineElement.h"
#include "svg/elements/SVGRectElement.h"

namespace svg {
namespace {

template <class T>
std::shared_ptr<T> shape(const std::map<std::string, std::string>& attributes) {
    auto element = std::make_shared<T>("shape", attributes);
    element->postProcessAttributesAddingErrorsTo(std::make_shared<SVGXParseResult>());
    return element;
}

std::vector<graphics::PathElement::Type> kinds(const graphics::Path& path) {
    std::vector<graphics::PathElement::Type> out;
    for (const auto& element : path.elements()) out.push_back(element.type);
    return out;
}

void expectRect(const graphics::Rect& actual, double x, double y, double width, double height) {
    EXPECT_NEAR(actual.origin.x, x, 1e-9);
    EXPECT_NEAR(actual.origin.y, y, 1e-9);
    EXPECT_NEAR(actual.size.width, width, 1e-9);
    EXPECT_NEAR(actual.size.height, height, 1e-9);
}

TEST(ShapesTest, RectanglesAndRoundedCorners) {
    using Type = graphics::PathElement::Type;
    auto plain = shape<SVGRectElement>({{"x", "1"}, {"y", "2"}, {"width", "30"}, {"height", "20"}});
    graphics::MutablePath expected;
    expected.addRect(graphics::Rect(1, 2, 30, 20));
    EXPECT_EQ(*plain->pathForShapeInRelativeCoords(), expected);
    EXPECT_EQ(plain->x()->pixelsValue(), 1);
    EXPECT_FALSE(plain->rx());
    auto zeros = shape<SVGRectElement>({{"width", "30"}, {"height", "20"}, {"rx", "0"}, {"ry", "0"}});
    EXPECT_EQ(kinds(*zeros->pathForShapeInRelativeCoords()).size(), 5u);

    // One radius serves both; the outline touches each edge only between
    // the corners, and its bounds stay the rectangle's.
    for (const auto& radius : {std::pair<std::string, std::string>{"rx", "5"}, {"ry", "5"}}) {
        auto rounded = shape<SVGRectElement>({{"width", "30"}, {"height", "20"}, {radius.first, radius.second}});
        const auto& path = *rounded->pathForShapeInRelativeCoords();
        expectRect(path.pathBoundingBox(), 0, 0, 30, 20);
        EXPECT_EQ(path.elements().front().points[0], (graphics::Point{5, 0}));
        EXPECT_EQ(kinds(path).back(), Type::CloseSubpath);
        EXPECT_FALSE(path.containsPoint({0.5, 0.5}));
        EXPECT_TRUE(path.containsPoint({1.6, 1.6}));
    }
    auto elliptical = shape<SVGRectElement>({{"width", "30"}, {"height", "20"}, {"rx", "4"}, {"ry", "2"}});
    const auto& corners = *elliptical->pathForShapeInRelativeCoords();
    EXPECT_EQ(corners.elements().front().points[0], (graphics::Point{4, 0}));
    EXPECT_TRUE(corners.containsPoint({29.9, 2.1}));
    EXPECT_FALSE(corners.containsPoint({29.9, 0.1}));
    expectRect(corners.pathBoundingBox(), 0, 0, 30, 20);

    // Width 0 when missing or a percentage.
    expectRect(shape<SVGRectElement>({{"height", "20"}})->pathForShapeInRelativeCoords()->boundingBox(), 0, 0, 0, 20);
    expectRect(shape<SVGRectElement>({{"width", "50%"}, {"height", "20"}})->pathForShapeInRelativeCoords()->boundingBox(),
               0, 0, 0, 20);
}

TEST(ShapesTest, EllipsesCirclesAndLinesBuildTheirPathOnRequest) {
    auto ellipse = shape<SVGEllipseElement>({{"rx", "10"}, {"ry", "5"}, {"r", "3"}, {"cx", "10px"}});
    EXPECT_EQ(ellipse->rx(), 3);
    EXPECT_EQ(ellipse->ry(), 3);
    EXPECT_EQ(ellipse->cx(), 10);
    EXPECT_FALSE(ellipse->pathForShapeInRelativeCoords());
    expectRect(ellipse->newPathForLayer()->pathBoundingBox(), 7, -3, 6, 6);

    auto circle = shape<SVGCircleElement>({{"r", "10"}, {"cx", "50"}, {"cy", "50"}});
    expectRect(circle->newPathForLayer()->pathBoundingBox(), 40, 40, 20, 20);
    EXPECT_EQ(circle->r(), 10);
    circle->setRy(4);
    foundation::ScopedLogCapture log;
    EXPECT_EQ(circle->r(), 0);
    EXPECT_TRUE(log.contains("Undefined radius of circle"));

    auto line = shape<SVGLineElement>({{"x2", "7"}, {"y2", "8.5"}});
    graphics::MutablePath expected;
    expected.moveToPoint({0, 0});
    expected.addLineToPoint({7, 8.5});
    EXPECT_EQ(*line->newPathForLayer(), expected);
    EXPECT_EQ(shape<SVGLineElement>({{"x1", "abc"}})->x1(), 0);
    // Shapes with a kept path hand that one over.
    auto rect = shape<SVGRectElement>({{"width", "1"}});
    EXPECT_EQ(rect->newPathForLayer(), rect->pathForShapeInRelativeCoords());
}

}  // namespace
}  // namespace svg
