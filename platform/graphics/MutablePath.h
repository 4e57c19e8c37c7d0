// The builder of paths. Each operation takes a transform that is applied to
// the points it adds (the identity by default), so the path is stored in the
// coordinates it will be drawn in. Segments need a current point: a line or
// curve added to an empty path is ignored, while an arc starts a path by
// itself. Arcs and ellipses are stored as cubic curves, at most a quarter turn
// each.
#pragma once

#include "graphics/Path.h"

namespace graphics {

class MutablePath : public Path {
public:
    MutablePath() = default;
    explicit MutablePath(const Path& path) : Path(path) {}

    // Room for that many elements, for a builder that knows its count: a
    // plan keeps thousands of small paths, each grown past its need otherwise.
    void reserve(size_t count) { elements_.reserve(count); }

    void moveToPoint(Point p, const AffineTransform& m = {});
    void addLineToPoint(Point p, const AffineTransform& m = {});
    void addQuadCurveToPoint(Point control, Point end, const AffineTransform& m = {});
    void addCurveToPoint(Point control1, Point control2, Point end, const AffineTransform& m = {});
    void closeSubpath();

    // A closed subpath from the origin along the top edge, then down, back
    // and up.
    void addRect(const Rect& r, const AffineTransform& m = {});
    // A closed subpath of four curves, starting at the right-hand middle point
    // and turning toward increasing y first.
    void addEllipseInRect(const Rect& r, const AffineTransform& m = {});
    // A closed rectangle with its corners rounded by the radius (at most half
    // the shorter side); a plain rectangle when the radius is not positive.
    void addRoundedRect(const Rect& r, double radius, const AffineTransform& m = {});
    // The arc of the circle around center from startAngle to endAngle
    // (radians, 0 along +x, increasing toward +y). clockwise false sweeps with
    // increasing angles, true with decreasing ones; a sweep of a full turn or
    // more draws the whole circle once. A line joins the current point to the
    // arc's start, or a move begins there when the path is empty.
    void addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise,
                const AffineTransform& m = {});
    // Appends the elements of another path, each point mapped by m.
    void addPath(const Path& path, const AffineTransform& m = {});

private:
    void append(PathElement::Type type, std::initializer_list<Point> points);
    void reopenAfterClose();
};

using MutablePathPtr = std::shared_ptr<MutablePath>;

}  // namespace graphics
