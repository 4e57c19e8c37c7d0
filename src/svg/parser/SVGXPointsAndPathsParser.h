// The path-data reader: class-wide operations that read one command with its
// arguments from a scanner and append the segments to a path. The path
// element's driver splits "d" into commands and calls them; the polygon feeds
// its points through the move-to reading.
//
// Every operation takes an origin that is added to each coordinate read: the
// current point for a relative (lower-case) command, (0, 0) for an absolute
// one. Sequences read argument sets until the scanner holds only white space;
// a set that cannot be read whole ends the sequence without drawing anything
// for it, so malformed data never loops. The result is the point (or curve)
// last reached; when nothing was drawn it is the path's current point, or the
// origin for an empty path.
#pragma once

#include <optional>

#include "graphics/Geometry.h"
#include "graphics/MutablePath.h"
#include "svg/parser/SVGCurve.h"
#include "svg/parser/SVGXScanner.h"

namespace svg {

class SVGXPointsAndPathsParser {
public:
    using Point = graphics::Point;
    using MutablePath = graphics::MutablePath;

    // The SVG white space: blanks, tabs, line ends.
    static void readWhitespace(SVGXScanner& scanner);
    // White space, at most one ",", white space.
    static void readCommaAndWhitespace(SVGXScanner& scanner);
    // None where no number stands.
    static std::optional<double> readCoordinate(SVGXScanner& scanner);
    static std::optional<Point> readCoordinatePair(SVGXScanner& scanner);

    // Move-to groups until no further "M" or "m" can be read.
    static Point readMovetoDrawtoCommandGroups(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);
    // A run of "M"/"m", then a move and, for further pairs, lines.
    static Point readMoveto(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);
    static Point readMovetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);

    static Point readLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);
    static Point readLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);
    // The letter decides whether later values are relative; y (x) stays the
    // path's current one.
    static Point readHorizontalLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin);
    static Point readHorizontalLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                      bool isRelative);
    static Point readVerticalLinetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin);
    static Point readVerticalLinetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                    bool isRelative);

    static SVGCurve readCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin, bool isRelative);
    static SVGCurve readCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                bool isRelative);
    static std::optional<SVGCurve> readCurvetoArgument(SVGXScanner& scanner, MutablePath& path, Point origin);

    // The first control point reflects the previous curve's second one about
    // its end, or is the current point when there is no previous curve.
    static SVGCurve readSmoothCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                             const SVGCurve& previousCurve);
    static SVGCurve readSmoothCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                      const SVGCurve& previousCurve, bool isRelative);
    static std::optional<SVGCurve> readSmoothCurvetoArgument(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                             const SVGCurve& previousCurve);

    // The curve answered is (control, (0, 0), end).
    static SVGCurve readQuadraticCurvetoCommand(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                bool isRelative);
    static SVGCurve readQuadraticCurvetoArgumentSequence(SVGXScanner& scanner, MutablePath& path, Point origin,
                                                         bool isRelative);
    static std::optional<SVGCurve> readQuadraticCurvetoArgument(SVGXScanner& scanner, MutablePath& path,
                                                                Point origin);

    // Closes the subpath; the answer is its start, where the next relative
    // command begins.
    static Point readCloseCommand(SVGXScanner& scanner, MutablePath& path, Point origin);
};

}  // namespace svg
