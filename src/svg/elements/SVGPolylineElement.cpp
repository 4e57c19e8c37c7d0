// The polyline tokenizer walks the bytes up to the first zero byte, which
// also ends the last token. Tokens grow as needed: no length of input runs
// past a buffer.
#include "svg/elements/SVGPolylineElement.h"

#include <optional>
#include <string>

#include "svg/elements/SVGFloatFromString.h"

namespace svg {

graphics::MutablePathPtr SVGPolylinePointsPathCreate(std::string_view points, bool close) {
    auto path = std::make_shared<graphics::MutablePath>();
    std::string token;
    std::optional<double> pendingX;
    for (size_t i = 0; i <= points.size(); ++i) {
        char c = i < points.size() ? points[i] : '\0';
        switch (c) {
            case '\0':
            case '\t':
            case '\n':
            case ' ':
            case ',': {
                if (!token.empty()) {
                    double value = SVGFloatFromString(token);
                    token.clear();
                    if (!pendingX) {
                        pendingX = value;
                    } else {
                        graphics::Point point{*pendingX, value};
                        if (path->isEmpty()) {
                            path->moveToPoint(point);
                        } else {
                            path->addLineToPoint(point);
                        }
                        pendingX.reset();
                    }
                }
                break;
            }
            case '-':
            case '.':
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7':
            case '8':
            case '9':
                token += c;
                break;
            default:
                break;
        }
        if (c == '\0') break;
    }
    if (close) path->closeSubpath();
    return path;
}

void SVGPolylineElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    std::string points = getAttribute("points");
    if (!points.empty()) setPathForShapeInRelativeCoords(SVGPolylinePointsPathCreate(points, false));
}

}  // namespace svg
