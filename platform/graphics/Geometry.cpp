// Rectangle arithmetic. Every operation works on the standardized form, and a
// null operand or result is represented by Rect::null() only.
#include "graphics/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/Value.h"

namespace graphics {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
}

Rect Rect::null() { return Rect(kInfinity, kInfinity, 0, 0); }

bool Rect::isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }

bool Rect::isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

Rect Rect::standardized() const {
    if (isNull()) return null();
    Rect r = *this;
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

double Rect::minX() const { return standardized().origin.x; }
double Rect::midX() const { return minX() + width() / 2; }
double Rect::maxX() const { return minX() + width(); }
double Rect::minY() const { return standardized().origin.y; }
double Rect::midY() const { return minY() + height() / 2; }
double Rect::maxY() const { return minY() + height(); }
double Rect::width() const { return std::fabs(size.width); }
double Rect::height() const { return std::fabs(size.height); }

Rect Rect::unionWith(const Rect& other) const {
    if (isNull()) return other.standardized();
    if (other.isNull()) return standardized();
    double x1 = std::min(minX(), other.minX());
    double y1 = std::min(minY(), other.minY());
    double x2 = std::max(maxX(), other.maxX());
    double y2 = std::max(maxY(), other.maxY());
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

Rect Rect::intersection(const Rect& other) const {
    if (isNull() || other.isNull()) return null();
    double x1 = std::max(minX(), other.minX());
    double y1 = std::max(minY(), other.minY());
    double x2 = std::min(maxX(), other.maxX());
    double y2 = std::min(maxY(), other.maxY());
    if (x2 < x1 || y2 < y1) return null();
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

Rect Rect::integral() const {
    if (isNull()) return null();
    double x1 = std::floor(minX());
    double y1 = std::floor(minY());
    double x2 = std::ceil(maxX());
    double y2 = std::ceil(maxY());
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

Rect Rect::offsetBy(double dx, double dy) const {
    if (isNull()) return null();
    Rect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}

Rect Rect::insetBy(double dx, double dy) const {
    if (isNull()) return null();
    Rect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0) return null();
    return r;
}

bool Rect::contains(Point p) const {
    if (isEmpty()) return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

std::string toString(Point p) {
    using foundation::NumberParsing::formatDouble;
    return "{" + formatDouble(p.x) + ", " + formatDouble(p.y) + "}";
}

std::string toString(Size s) {
    using foundation::NumberParsing::formatDouble;
    return "{" + formatDouble(s.width) + ", " + formatDouble(s.height) + "}";
}

std::string toString(const Rect& r) { return "{" + toString(r.origin) + ", " + toString(r.size) + "}"; }

}  // namespace graphics
