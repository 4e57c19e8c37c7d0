// The path-data reader. Each sequence stops at the first argument set it
// cannot read whole: the scanner never stands still inside a loop, which is
// what keeps "M10 10 L#" from reading for ever.
#include "svg/parser/SVGXPointsAndPathsParser.h"

#include "svg/sources/SVGXExtensions.h"

namespace svg {

namespace {

using graphics::Point;

Point operator+(Point a, Point b) { return Point{a.x + b.x, a.y + b.y}; }

// Where the path stands when a command drew nothing.
Point fallback(const graphics::MutablePath& path, Point origin) { return path.currentPoint().value_or(origin); }

SVGCurve fallbackCurve(const graphics::MutablePath& path, Point origin) {
    Point p = fallback(path, origin);
    return SVGCurve{p, p, p};
}

bool scanLetter(SVGXScanner& scanner, char upper, char lower) {
    return scanner.scanString(std::string_view(&upper, 1)) || scanner.scanString(std::string_view(&lower, 1));
}

}  // namespace

void SVGXPointsAndPathsParser::readWhitespace(SVGXScanner& scanner) {
    scanner.scanCharactersFromSet(SVGXExtensions::SVGWhitespaceCharacterSet());
}

void SVGXPointsAndPathsParser::readCommaAndWhitespace(SVGXScanner& scanner) {
    readWhitespace(scanner);
    scanner.scanString(",");
    readWhitespace(scanner);
}

std::optional<double> SVGXPointsAndPathsParser::readCoordinate(SVGXScanner& scanner) {
    auto value = scanner.scanFloat();
    if (!value) return std::nullopt;
    return double(*value);
}

std::optional<Point> SVGXPointsAndPathsParser::readCoordinatePair(SVGXScanner& scanner) {
    auto x = readCoordinate(scanner);
    if (!x) return std::nullopt;
    readCommaAndWhitespace(scanner);
    auto y = readCoordinate(scanner);
    if (!y) return std::nullopt;
    return Point{*x, *y};
}

Point SVGXPointsAndPathsParser::readMovetoDrawtoCommandGroups(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                              bool isRelative) {
    Point last = fallback(path, origin);
    bool first = true;
    while (first || !scanner.isAtEnd()) {
        size_t before = scanner.scanLocation();
        last = readMoveto(scanner, path, first || !isRelative ? origin : last, isRelative);
        if (scanner.scanLocation() == before) break;
        readWhitespace(scanner);
        first = false;
    }
    return last;
}

Point SVGXPointsAndPathsParser::readMoveto(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative) {
    if (scanner.scanCharactersFromSet("Mm").empty()) return fallback(path, origin);
    readWhitespace(scanner);
    return readMovetoArgumentSequence(scanner, path, origin, isRelative);
}

Point SVGXPointsAndPathsParser::readMovetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                           bool isRelative) {
    auto pair = readCoordinatePair(scanner);
    if (!pair) return fallback(path, origin);
    Point point = origin + *pair;
    path.moveToPoint(point);
    readCommaAndWhitespace(scanner);
    if (!scanner.isAtEnd()) point = readLinetoArgumentSequence(scanner, path, isRelative ? point : origin, isRelative);
    return point;
}

Point SVGXPointsAndPathsParser::readLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                  bool isRelative) {
    if (!scanLetter(scanner, 'L', 'l')) return fallback(path, origin);
    readWhitespace(scanner);
    return readLinetoArgumentSequence(scanner, path, origin, isRelative);
}

Point SVGXPointsAndPathsParser::readLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                           bool isRelative) {
    Point last = fallback(path, origin);
    do {
        auto pair = readCoordinatePair(scanner);
        if (!pair) break;
        last = origin + *pair;
        path.addLineToPoint(last);
        readCommaAndWhitespace(scanner);
        if (isRelative) origin = last;
    } while (!scanner.isAtEnd());
    return last;
}

Point SVGXPointsAndPathsParser::readHorizontalLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin) {
    if (!scanLetter(scanner, 'H', 'h')) return fallback(path, origin);
    bool isRelative = scanner.string()[scanner.scanLocation() - 1] == 'h';
    readWhitespace(scanner);
    return readHorizontalLinetoArgumentSequence(scanner, path, origin, isRelative);
}

Point SVGXPointsAndPathsParser::readHorizontalLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path,
                                                                     Point origin, bool isRelative) {
    Point last = fallback(path, origin);
    do {
        auto x = readCoordinate(scanner);
        if (!x) break;
        last = Point{origin.x + *x, path.currentPoint().value_or(Point{}).y};
        path.addLineToPoint(last);
        readCommaAndWhitespace(scanner);
        if (isRelative) origin = last;
    } while (!scanner.isAtEnd());
    return last;
}

Point SVGXPointsAndPathsParser::readVerticalLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin) {
    if (!scanLetter(scanner, 'V', 'v')) return fallback(path, origin);
    bool isRelative = scanner.string()[scanner.scanLocation() - 1] == 'v';
    readWhitespace(scanner);
    return readVerticalLinetoArgumentSequence(scanner, path, origin, isRelative);
}

Point SVGXPointsAndPathsParser::readVerticalLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path,
                                                                   Point origin, bool isRelative) {
    Point last = fallback(path, origin);
    do {
        auto y = readCoordinate(scanner);
        if (!y) break;
        last = Point{path.currentPoint().value_or(Point{}).x, origin.y + *y};
        path.addLineToPoint(last);
        readCommaAndWhitespace(scanner);
        if (isRelative) origin = last;
    } while (!scanner.isAtEnd());
    return last;
}

SVGCurve SVGXPointsAndPathsParser::readCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                      bool isRelative) {
    if (!scanLetter(scanner, 'C', 'c')) return fallbackCurve(path, origin);
    readWhitespace(scanner);
    return readCurvetoArgumentSequence(scanner, path, origin, isRelative);
}

SVGCurve SVGXPointsAndPathsParser::readCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                               bool isRelative) {
    SVGCurve last = fallbackCurve(path, origin);
    do {
        auto curve = readCurvetoArgument(scanner, path, origin);
        if (!curve) break;
        last = *curve;
        if (isRelative) origin = last.p;
    } while (!scanner.isAtEnd());
    return last;
}

std::optional<SVGCurve> SVGXPointsAndPathsParser::readCurvetoArgument(SVGXScanner& scanner, MutablePath& path,
                                                                      Point origin) {
    Point points[3];
    for (Point& point : points) {
        auto pair = readCoordinatePair(scanner);
        if (!pair) return std::nullopt;
        readCommaAndWhitespace(scanner);
        point = origin + *pair;
    }
    path.addCurveToPoint(points[0], points[1], points[2]);
    return SVGCurve{points[0], points[1], points[2]};
}

SVGCurve SVGXPointsAndPathsParser::readSmoothCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                            const SVGCurve& previousCurve) {
    if (!scanLetter(scanner, 'S', 's')) return fallbackCurve(path, origin);
    bool isRelative = scanner.string()[scanner.scanLocation() - 1] == 's';
    readWhitespace(scanner);
    return readSmoothCurvetoArgumentSequence(scanner, path, origin, previousCurve, isRelative);
}

SVGCurve SVGXPointsAndPathsParser::readSmoothCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path,
                                                                     Point origin, const SVGCurve& previousCurve,
                                                                     bool isRelative) {
    SVGCurve last = fallbackCurve(path, origin);
    SVGCurve previous = previousCurve;
    do {
        auto curve = readSmoothCurvetoArgument(scanner, path, origin, previous);
        if (!curve) break;
        last = previous = *curve;
        if (isRelative) origin = last.p;
    } while (!scanner.isAtEnd());
    return last;
}

std::optional<SVGCurve> SVGXPointsAndPathsParser::readSmoothCurvetoArgument(SVGXScanner& scanner, MutablePath& path,
                                                                            Point origin,
                                                                            const SVGCurve& previousCurve) {
    Point points[2];
    for (Point& point : points) {
        auto pair = readCoordinatePair(scanner);
        if (!pair) return std::nullopt;
        readCommaAndWhitespace(scanner);
        point = origin + *pair;
    }
    Point c1 = path.currentPoint().value_or(Point{});
    if (!SVGCurveIsZero(previousCurve)) {
        const Point& p = previousCurve.p;
        c1 = Point{p.x + (p.x - previousCurve.c2.x), p.y + (p.y - previousCurve.c2.y)};
    }
    path.addCurveToPoint(c1, points[0], points[1]);
    return SVGCurve{c1, points[0], points[1]};
}

SVGCurve SVGXPointsAndPathsParser::readQuadraticCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                               bool isRelative) {
    if (!scanLetter(scanner, 'Q', 'q')) return fallbackCurve(path, origin);
    readWhitespace(scanner);
    return readQuadraticCurvetoArgumentSequence(scanner, path, origin, isRelative);
}

SVGCurve SVGXPointsAndPathsParser::readQuadraticCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path,
                                                                        Point origin, bool isRelative) {
    SVGCurve last = fallbackCurve(path, origin);
    do {
        auto curve = readQuadraticCurvetoArgument(scanner, path, origin);
        if (!curve) break;
        last = *curve;
        if (isRelative) origin = last.p;
    } while (!scanner.isAtEnd());
    return last;
}

std::optional<SVGCurve> SVGXPointsAndPathsParser::readQuadraticCurvetoArgument(SVGXScanner& scanner,
                                                                               MutablePath& path, Point origin) {
    Point points[2];
    for (Point& point : points) {
        auto pair = readCoordinatePair(scanner);
        if (!pair) return std::nullopt;
        readCommaAndWhitespace(scanner);
        point = origin + *pair;
    }
    path.addQuadCurveToPoint(points[0], points[1]);
    return SVGCurve{points[0], Point{}, points[1]};
}

Point SVGXPointsAndPathsParser::readCloseCommand(SVGXScanner& scanner, MutablePath& path, Point origin) {
    if (scanLetter(scanner, 'Z', 'z')) path.closeSubpath();
    return fallback(path, origin);
}

}  // namespace svg
