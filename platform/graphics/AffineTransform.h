// A 2-D affine transform (a, b, c, d, tx, ty) mapping (x, y) to
// (a·x + c·y + tx, b·x + d·y + ty). Composition reads in the order points
// travel: concat(A, B) applies A to a point first and B to the result, and
// the builders translate/scale/rotate put their step before the transform
// they are called on, as the platform's do.
#pragma once

#include "graphics/Geometry.h"

namespace graphics {

struct AffineTransform {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double tx = 0;
    double ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform make(double a, double b, double c, double d, double tx, double ty) {
        return {a, b, c, d, tx, ty};
    }
    static AffineTransform makeTranslation(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static AffineTransform makeScale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Positive angles (radians) turn the x axis toward the y axis.
    static AffineTransform makeRotation(double angle);

    bool isIdentity() const { return *this == AffineTransform(); }

    // The translation (scaling, rotation) first, then this transform.
    AffineTransform translate(double tx, double ty) const;
    AffineTransform scale(double sx, double sy) const;
    AffineTransform rotate(double angle) const;

    bool isInvertible() const;
    // The inverse; a transform that has none is handed back unchanged.
    AffineTransform invert() const;

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // Sizes are vectors: the translation does not apply.
    Size apply(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
    // The bounding box of the four mapped corners; null stays null.
    Rect apply(const Rect& r) const;

    bool operator==(const AffineTransform&) const = default;
};

// "first then second": first applies to a point, then second.
AffineTransform concat(const AffineTransform& first, const AffineTransform& second);

}  // namespace graphics
