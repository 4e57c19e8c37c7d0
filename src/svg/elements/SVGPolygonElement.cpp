// Polygon points are path data in disguise: prefixed with "M" they read as an
// absolute move followed by lines, and a "z" closes them.
#include "svg/elements/SVGPolygonElement.h"

#include "graphics/MutablePath.h"
#include "svg/parser/SVGXPointsAndPathsParser.h"

namespace svg {

void SVGPolygonElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    parseData(getAttribute("points"));
}

void SVGPolygonElement::parseData(const std::string& points) {
    if (points.empty()) return;
    auto path = std::make_shared<graphics::MutablePath>();
    SVGXScanner scanner("M" + points);
    SVGXPointsAndPathsParser::readMovetoDrawtoCommandGroups(scanner, *path, graphics::Point{}, false);
    SVGXScanner closeScanner("z");
    SVGXPointsAndPathsParser::readCloseCommand(closeScanner, *path, graphics::Point{});
    setPathForShapeInRelativeCoords(std::move(path));
}

}  // namespace svg
