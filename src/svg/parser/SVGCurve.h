// The last curve segment a path-data command drew: first and second control
// points and end point. The all-zero curve stands for "no previous curve",
// which is what a smooth curve after anything but a cubic curve sees.
#pragma once

#include "graphics/Geometry.h"

namespace svg {

struct SVGCurve {
    graphics::Point c1;
    graphics::Point c2;
    graphics::Point p;
    bool operator==(const SVGCurve&) const = default;
};

inline SVGCurve SVGCurveZero() { return SVGCurve{}; }
inline bool SVGCurveIsZero(const SVGCurve& curve) { return curve == SVGCurve{}; }

}  // namespace svg
