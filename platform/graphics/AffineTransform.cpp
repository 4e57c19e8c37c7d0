// Affine transform algebra. Matrices are kept in the platform's row-vector
// layout, so composing is a plain matrix product in application order.
#include "graphics/AffineTransform.h"

#include <algorithm>
#include <cmath>

namespace graphics {

AffineTransform AffineTransform::makeRotation(double angle) {
    double s = std::sin(angle);
    double co = std::cos(angle);
    return {co, s, -s, co, 0, 0};
}

AffineTransform concat(const AffineTransform& m, const AffineTransform& n) {
    return {m.a * n.a + m.b * n.c,          m.a * n.b + m.b * n.d,
            m.c * n.a + m.d * n.c,          m.c * n.b + m.d * n.d,
            m.tx * n.a + m.ty * n.c + n.tx, m.tx * n.b + m.ty * n.d + n.ty};
}

AffineTransform AffineTransform::translate(double x, double y) const { return concat(makeTranslation(x, y), *this); }

AffineTransform AffineTransform::scale(double sx, double sy) const { return concat(makeScale(sx, sy), *this); }

AffineTransform AffineTransform::rotate(double angle) const { return concat(makeRotation(angle), *this); }

bool AffineTransform::isInvertible() const {
    double det = a * d - b * c;
    return det != 0 && std::isfinite(det);
}

AffineTransform AffineTransform::invert() const {
    if (!isInvertible()) return *this;
    double det = a * d - b * c;
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Rect AffineTransform::apply(const Rect& r) const {
    if (r.isNull()) return Rect::null();
    Point corners[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                        apply(Point{r.maxX(), r.maxY()}), apply(Point{r.minX(), r.maxY()})};
    double x1 = corners[0].x, x2 = corners[0].x, y1 = corners[0].y, y2 = corners[0].y;
    for (const Point& p : corners) {
        x1 = std::min(x1, p.x);
        x2 = std::max(x2, p.x);
        y1 = std::min(y1, p.y);
        y2 = std::max(y2, p.y);
    }
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

}  // namespace graphics
