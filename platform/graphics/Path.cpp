// Queries on a finished path: bounds and containment. Containment flattens
// every curve into enough straight pieces that the error stays well below a
// tenth of a unit for outlines of floor-plan size, then counts windings.
#include "graphics/Path.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"

namespace graphics {

std::string_view fillRuleName(FillRule rule) { return rule == FillRule::EvenOdd ? "even-odd" : "non-zero"; }

int PathElement::pointCount() const {
    switch (type) {
        case Type::MoveToPoint:
        case Type::AddLineToPoint: return 1;
        case Type::AddQuadCurveToPoint: return 2;
        case Type::AddCurveToPoint: return 3;
        case Type::CloseSubpath: return 0;
    }
    return 0;
}

bool PathElement::operator==(const PathElement& other) const {
    if (type != other.type) return false;
    for (int i = 0; i < pointCount(); ++i) {
        if (!(points[i] == other.points[i])) return false;
    }
    return true;
}

namespace {

struct Bounds {
    double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
    void add(Point p) {
        x1 = std::min(x1, p.x);
        y1 = std::min(y1, p.y);
        x2 = std::max(x2, p.x);
        y2 = std::max(y2, p.y);
    }
    Rect rect() const { return x1 > x2 ? Rect::null() : Rect(x1, y1, x2 - x1, y2 - y1); }
};

Point quadAt(Point p0, Point p1, Point p2, double t) {
    double u = 1 - t;
    return {u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y};
}

Point cubicAt(Point p0, Point p1, Point p2, Point p3, double t) {
    double u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

// Parameters in (0, 1) where one coordinate of a curve turns.
void quadExtremes(double p0, double p1, double p2, std::vector<double>& ts) {
    double den = p0 - 2 * p1 + p2;
    if (den != 0) ts.push_back((p0 - p1) / den);
}

void cubicExtremes(double p0, double p1, double p2, double p3, std::vector<double>& ts) {
    // The derivative divided by 3: a·t² + b·t + c.
    double a = -p0 + 3 * p1 - 3 * p2 + p3;
    double b = 2 * (p0 - 2 * p1 + p2);
    double c = p1 - p0;
    if (std::fabs(a) < 1e-12) {
        if (b != 0) ts.push_back(-c / b);
        return;
    }
    double disc = b * b - 4 * a * c;
    if (disc < 0) return;
    double root = std::sqrt(disc);
    ts.push_back((-b + root) / (2 * a));
    ts.push_back((-b - root) / (2 * a));
}

double distance(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

int pieceCount(double controlLength) {
    if (!std::isfinite(controlLength)) return 1;
    return std::clamp(static_cast<int>(std::ceil(std::sqrt(controlLength) * 2)), 8, 256);
}

// Each subpath as a polygon, closed implicitly.
std::vector<std::vector<Point>> flatten(const std::vector<PathElement>& elements) {
    std::vector<std::vector<Point>> polygons;
    Point current;
    for (const PathElement& e : elements) {
        switch (e.type) {
            case PathElement::Type::MoveToPoint:
                polygons.push_back({e.points[0]});
                current = e.points[0];
                break;
            case PathElement::Type::AddLineToPoint:
                polygons.back().push_back(e.points[0]);
                current = e.points[0];
                break;
            case PathElement::Type::AddQuadCurveToPoint: {
                int n = pieceCount(distance(current, e.points[0]) + distance(e.points[0], e.points[1]));
                for (int i = 1; i <= n; ++i) polygons.back().push_back(quadAt(current, e.points[0], e.points[1], double(i) / n));
                current = e.points[1];
                break;
            }
            case PathElement::Type::AddCurveToPoint: {
                int n = pieceCount(distance(current, e.points[0]) + distance(e.points[0], e.points[1]) +
                                   distance(e.points[1], e.points[2]));
                for (int i = 1; i <= n; ++i)
                    polygons.back().push_back(cubicAt(current, e.points[0], e.points[1], e.points[2], double(i) / n));
                current = e.points[2];
                break;
            }
            case PathElement::Type::CloseSubpath:
                current = polygons.back().front();
                break;
        }
    }
    return polygons;
}

// Positive when p lies left of the directed line a→b (in a y-up reading).
double side(Point a, Point b, Point p) { return (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y); }

}  // namespace

Rect Path::boundingBox() const {
    Bounds bounds;
    for (const PathElement& e : elements_) {
        for (int i = 0; i < e.pointCount(); ++i) bounds.add(e.points[i]);
    }
    return bounds.rect();
}

Rect Path::pathBoundingBox() const {
    Bounds bounds;
    Point current;
    Point start;
    std::vector<double> ts;
    for (const PathElement& e : elements_) {
        ts.clear();
        switch (e.type) {
            case PathElement::Type::MoveToPoint:
                start = current = e.points[0];
                bounds.add(current);
                break;
            case PathElement::Type::AddLineToPoint:
                current = e.points[0];
                bounds.add(current);
                break;
            case PathElement::Type::AddQuadCurveToPoint:
                quadExtremes(current.x, e.points[0].x, e.points[1].x, ts);
                quadExtremes(current.y, e.points[0].y, e.points[1].y, ts);
                for (double t : ts) {
                    if (t > 0 && t < 1) bounds.add(quadAt(current, e.points[0], e.points[1], t));
                }
                current = e.points[1];
                bounds.add(current);
                break;
            case PathElement::Type::AddCurveToPoint:
                cubicExtremes(current.x, e.points[0].x, e.points[1].x, e.points[2].x, ts);
                cubicExtremes(current.y, e.points[0].y, e.points[1].y, e.points[2].y, ts);
                for (double t : ts) {
                    if (t > 0 && t < 1) bounds.add(cubicAt(current, e.points[0], e.points[1], e.points[2], t));
                }
                current = e.points[2];
                bounds.add(current);
                break;
            case PathElement::Type::CloseSubpath:
                current = start;
                break;
        }
    }
    return bounds.rect();
}

bool Path::containsPoint(Point p, FillRule rule) const {
    int winding = 0;
    int crossings = 0;
    for (const std::vector<Point>& polygon : flatten(elements_)) {
        size_t n = polygon.size();
        for (size_t i = 0; i < n; ++i) {
            Point a = polygon[i];
            Point b = polygon[(i + 1) % n];
            if (a.y <= p.y) {
                if (b.y > p.y && side(a, b, p) > 0) {
                    ++winding;
                    ++crossings;
                }
            } else if (b.y <= p.y && side(a, b, p) < 0) {
                --winding;
                ++crossings;
            }
        }
    }
    return rule == FillRule::EvenOdd ? (crossings % 2) != 0 : winding != 0;
}

std::shared_ptr<const Path> Path::copy() const { return std::make_shared<const Path>(*this); }

std::shared_ptr<MutablePath> Path::mutableCopy() const { return std::make_shared<MutablePath>(*this); }

}  // namespace graphics
