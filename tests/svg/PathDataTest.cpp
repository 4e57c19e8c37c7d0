// Path data, polygon points and polyline points read into paths.
#include <gtest/gtest.h>

#include "foundation/Log.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGPolygonElement.h"
#include "svg/elements/SVGPolylineElement.h"
#include "svg/parser/SVGXPointsAndPathsParser.h"

namespace svg {
namespace {

// The path as a compact recipe: "M0 0 L10 10 C1 2 3 4 5 6 Z".
std::string outline(const graphics::Path* path) {
    if (!path) return "(none)";
    using foundation::NumberParsing::formatDouble;
    std::string text;
    for (const auto& element : path->elements()) {
        static const char* kLetters = "MLQCZ";
        if (!text.empty()) text += ' ';
        text += kLetters[static_cast<int>(element.type)];
        for (int i = 0; i < element.pointCount(); ++i) {
            text += (i ? " " : "") + formatDouble(element.points[i].x) + " " + formatDouble(element.points[i].y);
        }
    }
    return text;
}

std::string pathData(const std::string& d) {
    auto element = std::make_shared<SVGPathElement>("path", std::map<std::string, std::string>{{"d", d}});
    element->postProcessAttributesAddingErrorsTo(nullptr);
    return outline(element->pathForShapeInRelativeCoords().get());
}

template <class T>
std::string points(const std::string& text) {
    auto element = std::make_shared<T>("shape", std::map<std::string, std::string>{{"points", text}});
    element->postProcessAttributesAddingErrorsTo(nullptr);
    return outline(element->pathForShapeInRelativeCoords().get());
}

TEST(PathDataTest, MovesLinesAndCloses) {
    EXPECT_EQ(pathData("M10 10 20 20"), "M10 10 L20 20");
    EXPECT_EQ(pathData("m10 10 20 20"), "M10 10 L30 30");
    EXPECT_EQ(pathData("M0 0 L10 0 z l5 5"), "M0 0 L10 0 Z M0 0 L5 5");
    EXPECT_EQ(pathData("M0,0,10,10,20,0"), "M0 0 L10 10 L20 0");
    EXPECT_EQ(pathData("M0 0, 10 10, 20 0"), "M0 0 L10 10 L20 0");
    EXPECT_EQ(pathData("M0 0 h 10 v 10 H 0"), "M0 0 L10 0 L10 10 L0 10");
    EXPECT_EQ(pathData("M0 0 h 10 10"), "M0 0 L10 0 L20 0");
    EXPECT_EQ(pathData("M0 0 V 5 7"), "M0 0 L0 5 L0 7");
    EXPECT_EQ(pathData("M1e2 10 20-5"), "M100 10 L20 -5");
    EXPECT_EQ(pathData("M0 0 l1 1 2 2"), "M0 0 L1 1 L3 3");
    EXPECT_EQ(pathData("MM5 5 ML3 3"), "M5 5 L3 3");
}

TEST(PathDataTest, CurvesReflectOnlyADirectlyPrecedingCubic) {
    EXPECT_EQ(pathData("M0 0 S10 10 20 0"), "M0 0 C0 0 10 10 20 0");
    EXPECT_EQ(pathData("M0 0 C0 10 10 10 10 0 S20 -10 20 0"), "M0 0 C0 10 10 10 10 0 C10 -10 20 -10 20 0");
    EXPECT_EQ(pathData("M0 0 Q5 5 10 0 S15 5 20 0"), "M0 0 Q5 5 10 0 C10 0 15 5 20 0");
    EXPECT_EQ(pathData("M0 0 c1 1 2 2 3 3 4 4 5 5 6 6"), "M0 0 C1 1 2 2 3 3 C7 7 8 8 9 9");
    EXPECT_EQ(pathData("M0 0 s1 1 2 2 1 1 2 2"), "M0 0 C0 0 1 1 2 2 C3 3 3 3 4 4");
    EXPECT_EQ(pathData("M10 0 q1 1 2 2"), "M10 0 Q11 1 12 2");
    // A line between them forgets the curve.
    EXPECT_EQ(pathData("M0 0 C0 10 10 10 10 0 L20 0 S30 10 40 0"), "M0 0 C0 10 10 10 10 0 L20 0 C20 0 30 10 40 0");
}

TEST(PathDataTest, MalformedAndUnsupportedDataEndsOrSkips) {
    {
        foundation::ScopedLogCapture log;
        EXPECT_EQ(pathData("M0 0 A5 5 0 0 1 10 0 L20 0"), "M0 0 L20 0");
        EXPECT_TRUE(log.contains("unsupported command A"));
        EXPECT_EQ(pathData("M0 0 C0 10 10 10 10 0 T5 5 S20 0 30 0"), "M0 0 C0 10 10 10 10 0 C10 0 20 0 30 0");
    }
    EXPECT_EQ(pathData("M0 0 L10 10 L"), "M0 0 L10 10");
    EXPECT_EQ(pathData("M10 10 L#"), "M10 10");
    // A bad number ends its own command only; after a close nothing but a
    // command letter may follow.
    EXPECT_EQ(pathData("M10 10 L5 5 # 6 6 L7 7"), "M10 10 L5 5 L7 7");
    EXPECT_EQ(pathData("M0 0 L1 1 z # L5 5"), "M0 0 L1 1 Z");
    EXPECT_EQ(pathData("M0 0 C1 1 2 2"), "M0 0");
    EXPECT_EQ(pathData("x M0 0"), "");
    EXPECT_EQ(pathData("M0 0 z 5 5"), "M0 0 Z");
    EXPECT_EQ(pathData(""), "");
    EXPECT_EQ(pathData("M1e400 -1e400 L1e-400 0"), pathData("M3.4028234663852886e38 -3.4028234663852886e38 L0 0"));

    // The reader on its own: a pair needs both numbers.
    SVGXScanner scanner("3, x");
    EXPECT_FALSE(SVGXPointsAndPathsParser::readCoordinatePair(scanner));
    SVGXScanner close("z");
    graphics::MutablePath path;
    path.moveToPoint({4, 4});
    path.addLineToPoint({8, 8});
    EXPECT_EQ(SVGXPointsAndPathsParser::readCloseCommand(close, path, {8, 8}), (graphics::Point{4, 4}));
}

TEST(PathDataTest, PolygonAndPolylinePoints) {
    EXPECT_EQ(points<SVGPolygonElement>("0,0 10,0 10,10"), "M0 0 L10 0 L10 10 Z");
    EXPECT_EQ(points<SVGPolygonElement>(""), "(none)");
    EXPECT_EQ(points<SVGPolygonElement>("1e2,0 5 5"), "M100 0 L5 5 Z");
    EXPECT_EQ(points<SVGPolylineElement>("10,20 30,40"), "M10 20 L30 40");
    EXPECT_EQ(points<SVGPolylineElement>("10, 20, 30, 40"), "M10 20 L30 40");
    EXPECT_EQ(points<SVGPolylineElement>("10  20  30  40 50"), "M10 20 L30 40");
    EXPECT_EQ(points<SVGPolylineElement>("1e2,0\r\n3 4"), "M12 0 L3 4");
    EXPECT_EQ(points<SVGPolylineElement>("- 5 . 6"), "M0 5 L0 6");
    EXPECT_EQ(points<SVGPolylineElement>(""), "(none)");
    EXPECT_EQ(points<SVGPolylineElement>(std::string(200, '1') + " 2"), pathData("M3.4028234663852886e38 2"));
    EXPECT_EQ(outline(SVGPolylinePointsPathCreate(std::string_view("1 2 3 4\0 5 6", 12), true).get()),
              "M1 2 L3 4 Z");
}

}  // namespace
}  // namespace svg
