// Path building. Points are mapped by the caller's transform as they are
// added; the current point and the start of the open subpath are kept in
// path coordinates so later segments join up without re-mapping.
#include "graphics/MutablePath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace graphics {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
}  // namespace

void MutablePath::append(PathElement::Type type, std::initializer_list<Point> points) {
    PathElement e;
    e.type = type;
    int i = 0;
    for (Point p : points) e.points[i++] = p;
    elements_.push_back(e);
    if (i > 0) current_ = e.points[i - 1];
}

void MutablePath::reopenAfterClose() {
    if (!elements_.empty() && elements_.back().type == PathElement::Type::CloseSubpath) {
        append(PathElement::Type::MoveToPoint, {subpathStart_});
    }
}

void MutablePath::moveToPoint(Point p, const AffineTransform& m) {
    subpathStart_ = m.apply(p);
    append(PathElement::Type::MoveToPoint, {subpathStart_});
}

void MutablePath::addLineToPoint(Point p, const AffineTransform& m) {
    if (!current_) return;
    reopenAfterClose();
    append(PathElement::Type::AddLineToPoint, {m.apply(p)});
}

void MutablePath::addQuadCurveToPoint(Point control, Point end, const AffineTransform& m) {
    if (!current_) return;
    reopenAfterClose();
    append(PathElement::Type::AddQuadCurveToPoint, {m.apply(control), m.apply(end)});
}

void MutablePath::addCurveToPoint(Point control1, Point control2, Point end, const AffineTransform& m) {
    if (!current_) return;
    reopenAfterClose();
    append(PathElement::Type::AddCurveToPoint, {m.apply(control1), m.apply(control2), m.apply(end)});
}

void MutablePath::closeSubpath() {
    if (!current_ || elements_.back().type == PathElement::Type::CloseSubpath) return;
    append(PathElement::Type::CloseSubpath, {});
    current_ = subpathStart_;
}

void MutablePath::addRect(const Rect& r, const AffineTransform& m) {
    if (r.isNull()) return;
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    moveToPoint({x, y}, m);
    addLineToPoint({x + w, y}, m);
    addLineToPoint({x + w, y + h}, m);
    addLineToPoint({x, y + h}, m);
    closeSubpath();
}

void MutablePath::addRoundedRect(const Rect& r, double radius, const AffineTransform& m) {
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    if (!(radius > 0)) {
        addRect(r, m);
        return;
    }
    moveToPoint({r.minX() + radius, r.minY()}, m);
    addArc({r.maxX() - radius, r.minY() + radius}, radius, -kPi / 2, 0, false, m);
    addArc({r.maxX() - radius, r.maxY() - radius}, radius, 0, kPi / 2, false, m);
    addArc({r.minX() + radius, r.maxY() - radius}, radius, kPi / 2, kPi, false, m);
    addArc({r.minX() + radius, r.minY() + radius}, radius, kPi, 3 * kPi / 2, false, m);
    closeSubpath();
}

void MutablePath::addEllipseInRect(const Rect& r, const AffineTransform& m) {
    if (r.isNull()) return;
    Rect s = r.standardized();
    double rx = s.width() / 2, ry = s.height() / 2;
    // A unit circle arc stretched to the rectangle; mapping the control
    // points keeps the curves exact under any affine transform.
    AffineTransform toRect = concat(AffineTransform::makeScale(rx, ry),
                                    AffineTransform::makeTranslation(s.midX(), s.midY()));
    AffineTransform full = concat(toRect, m);
    moveToPoint({1, 0}, full);
    const double k = 4.0 / 3.0 * std::tan(kPi / 8);
    Point corners[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int i = 0; i < 4; ++i) {
        Point a = corners[i];
        Point b = corners[(i + 1) % 4];
        // Tangents of a counter-rotating unit circle at a and b.
        Point c1{a.x - k * a.y, a.y + k * a.x};
        Point c2{b.x + k * b.y, b.y - k * b.x};
        addCurveToPoint(c1, c2, b, full);
    }
    closeSubpath();
}

void MutablePath::addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise,
                         const AffineTransform& m) {
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
    double sweep = clockwise ? startAngle - endAngle : endAngle - startAngle;
    if (sweep >= kTwoPi) {
        sweep = kTwoPi;
    } else {
        sweep = std::fmod(sweep, kTwoPi);
        if (sweep < 0) sweep += kTwoPi;
    }
    if (clockwise) sweep = -sweep;

    auto at = [&](double angle) {
        return Point{center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
    };
    Point start = at(startAngle);
    if (current_) {
        addLineToPoint(start, m);
    } else {
        moveToPoint(start, m);
    }
    int pieces = static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9));
    if (pieces == 0) return;
    double step = sweep / pieces;
    double k = 4.0 / 3.0 * std::tan(step / 4) * radius;
    double a0 = startAngle;
    for (int i = 0; i < pieces; ++i) {
        double a1 = a0 + step;
        Point p0 = at(a0);
        Point p1 = at(a1);
        Point c1{p0.x - k * std::sin(a0), p0.y + k * std::cos(a0)};
        Point c2{p1.x + k * std::sin(a1), p1.y - k * std::cos(a1)};
        addCurveToPoint(c1, c2, p1, m);
        a0 = a1;
    }
}

void MutablePath::addPath(const Path& path, const AffineTransform& m) {
    for (const PathElement& e : path.elements()) {
        switch (e.type) {
            case PathElement::Type::MoveToPoint: moveToPoint(e.points[0], m); break;
            case PathElement::Type::AddLineToPoint: addLineToPoint(e.points[0], m); break;
            case PathElement::Type::AddQuadCurveToPoint: addQuadCurveToPoint(e.points[0], e.points[1], m); break;
            case PathElement::Type::AddCurveToPoint:
                addCurveToPoint(e.points[0], e.points[1], e.points[2], m);
                break;
            case PathElement::Type::CloseSubpath: closeSubpath(); break;
        }
    }
}

}  // namespace graphics
