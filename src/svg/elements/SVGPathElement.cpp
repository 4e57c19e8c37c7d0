// The path-data driver: cuts "d" into one command letter and its argument
// text at a time and hands each to the reader with the right origin. It
// keeps the current point and the last cubic curve, which a smooth curve
// reflects only when it follows a C, c, S or s directly.
#include "svg/elements/SVGPathElement.h"

#include <string_view>

#include "foundation/Log.h"
#include "graphics/MutablePath.h"
#include "svg/parser/SVGXPointsAndPathsParser.h"

namespace svg {

namespace {
constexpr std::string_view kCommandLetters = "MmLlCcVvHhAaSsQqTtZz";
}

void SVGPathElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    BaseClassForAllSVGBasicShapes::postProcessAttributesAddingErrorsTo(parseResult);
    parseData(getAttribute("d"));
}

void SVGPathElement::parseData(const std::string& data) {
    using Parser = SVGXPointsAndPathsParser;
    auto path = std::make_shared<graphics::MutablePath>();
    SVGXScanner scanner(data);
    graphics::Point current;
    SVGCurve previousCurve = SVGCurveZero();

    while (true) {
        std::string_view letters = scanner.scanCharactersFromSet(kCommandLetters);
        if (letters.empty()) break;
        // A run of letters is read one letter at a time.
        scanner.setScanLocation(scanner.scanLocation() - (letters.size() - 1));
        char command = letters.front();

        if (command == 'z' || command == 'Z') {
            SVGXScanner closeScanner(std::string(1, command));
            current = Parser::readCloseCommand(closeScanner, *path, current);
            previousCurve = SVGCurveZero();
            continue;
        }
        std::string_view arguments = scanner.scanUpToCharactersFromSet(kCommandLetters);
        if (arguments.empty()) continue;

        SVGXScanner commandScanner(command + std::string(arguments));
        bool isRelative = command >= 'a' && command <= 'z';
        graphics::Point origin = isRelative ? current : graphics::Point{};
        switch (command) {
            case 'M':
            case 'm':
                current = Parser::readMovetoDrawtoCommandGroups(commandScanner, *path, origin, isRelative);
                previousCurve = SVGCurveZero();
                break;
            case 'L':
            case 'l':
                current = Parser::readLinetoCommand(commandScanner, *path, origin, isRelative);
                previousCurve = SVGCurveZero();
                break;
            case 'H':
            case 'h':
                current = Parser::readHorizontalLinetoCommand(commandScanner, *path, origin);
                previousCurve = SVGCurveZero();
                break;
            case 'V':
            case 'v':
                current = Parser::readVerticalLinetoCommand(commandScanner, *path, origin);
                previousCurve = SVGCurveZero();
                break;
            case 'C':
            case 'c':
                previousCurve = Parser::readCurvetoCommand(commandScanner, *path, origin, isRelative);
                current = previousCurve.p;
                break;
            case 'S':
            case 's':
                previousCurve = Parser::readSmoothCurvetoCommand(commandScanner, *path, origin, previousCurve);
                current = previousCurve.p;
                break;
            case 'Q':
            case 'q':
                current = Parser::readQuadraticCurvetoCommand(commandScanner, *path, origin, isRelative).p;
                previousCurve = SVGCurveZero();
                break;
            default:
                // A, a, T, t.
                foundation::Log("unsupported command %@", std::string(1, command));
                previousCurve = SVGCurveZero();
                break;
        }
    }
    // Kept for the element's life: an exact copy, not the grown builder.
    setPathForShapeInRelativeCoords(path->copy());
}

}  // namespace svg
