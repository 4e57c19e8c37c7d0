// Points, sizes and rectangles in doubles: the coordinate vocabulary of every
// drawing and layer interface. Coordinates grow rightward and downward, as on
// the phone's screens. A rectangle may carry a negative size; its edges are
// then read from the standardized form. The null rectangle ("no rectangle at
// all", what the intersection of disjoint rectangles gives) is kept apart from
// the zero rectangle at the origin: it has an infinite origin and no size, and
// every operation hands it through unchanged.
#pragma once

#include <string>

namespace graphics {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Point o, Size s) : origin(o), size(s) {}
    Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

    static Rect null();
    static Rect zero() { return Rect(); }

    bool isNull() const;
    // Null, or without area.
    bool isEmpty() const;
    // The same rectangle with a non-negative width and height.
    Rect standardized() const;

    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;

    // The smallest rectangle holding both; a null side is ignored.
    Rect unionWith(const Rect& other) const;
    // The common part, or null when there is none. Rectangles that only touch
    // share a rectangle without area.
    Rect intersection(const Rect& other) const;
    // The smallest rectangle with whole-number edges around this one: the
    // origin rounded down, the maximum edges rounded up.
    Rect integral() const;
    Rect offsetBy(double dx, double dy) const;
    // Moves each edge inward by dx and dy (outward when negative); null when
    // nothing is left.
    Rect insetBy(double dx, double dy) const;
    // Minimum edges are inside, maximum edges outside, so tiled rectangles
    // never both claim a point.
    bool contains(Point p) const;

    bool operator==(const Rect&) const = default;
};

// The platform's text forms: "{1.5, 2}", "{3, 4}", "{{1.5, 2}, {3, 4}}".
std::string toString(Point p);
std::string toString(Size s);
std::string toString(const Rect& r);

}  // namespace graphics
