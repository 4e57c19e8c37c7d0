// The 4×4 transform a layer carries (row-vector layout, m41..m43 the
// translation). Layers are drawn and hit-tested in the plane: a transform is
// flattened to its affine part (m11, m12, m21, m22, m41, m42), so depth and
// perspective entries are kept but have no effect here.
#pragma once

#include "graphics/AffineTransform.h"

namespace graphics {

struct Transform3D {
    double m11 = 1, m12 = 0, m13 = 0, m14 = 0;
    double m21 = 0, m22 = 1, m23 = 0, m24 = 0;
    double m31 = 0, m32 = 0, m33 = 1, m34 = 0;
    double m41 = 0, m42 = 0, m43 = 0, m44 = 1;

    static Transform3D identity() { return {}; }
    static Transform3D makeTranslation(double tx, double ty, double tz);
    static Transform3D makeScale(double sx, double sy, double sz);
    static Transform3D makeAffineTransform(const AffineTransform& t);

    bool isIdentity() const { return *this == Transform3D(); }
    // True when the transform is exactly a 2-D affine one.
    bool isAffine() const;
    AffineTransform affineTransform() const { return {m11, m12, m21, m22, m41, m42}; }

    bool operator==(const Transform3D&) const = default;
};

}  // namespace graphics
