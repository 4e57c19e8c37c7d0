// The SVG DOM transform. Elements keep their transform as a platform affine
// transform; this type only stores its fields and its setters do nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "svg/elements/SVGMatrix.h"

namespace svg {

class SVGTransform {
public:
    int32_t type() const { return type_; }
    void setType(int32_t type) { type_ = type; }
    const std::shared_ptr<SVGMatrix>& matrix() const { return matrix_; }
    float angle() const { return angle_; }

    void setMatrix(const SVGMatrix& /*matrix*/) {}
    void setTranslate(float /*tx*/, float /*ty*/) {}
    void setScale(float /*sx*/, float /*sy*/) {}
    void setRotate(float /*angle*/, float /*cx*/, float /*cy*/) {}
    void setSkewX(float /*angle*/) {}
    void setSkewY(float /*angle*/) {}

private:
    int32_t type_ = 0;
    std::shared_ptr<SVGMatrix> matrix_;
    float angle_ = 0;
};

}  // namespace svg
