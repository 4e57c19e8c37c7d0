// The SVG DOM matrix (a, b, c, d the linear part; e, f the translation). The
// library computes with platform affine transforms instead, so this type only
// holds its six numbers and its operations answer nothing.
#pragma once

#include <memory>

namespace svg {

class SVGMatrix {
public:
    float a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;

    std::shared_ptr<SVGMatrix> multiply(const SVGMatrix& /*secondMatrix*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> inverse() const { return nullptr; }
    std::shared_ptr<SVGMatrix> translate(float /*x*/, float /*y*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> scale(float /*scaleFactor*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> scaleNonUniform(float /*scaleFactorX*/, float /*scaleFactorY*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> rotate(float /*angle*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> rotateFromVector(float /*x*/, float /*y*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> flipX() const { return nullptr; }
    std::shared_ptr<SVGMatrix> flipY() const { return nullptr; }
    std::shared_ptr<SVGMatrix> skewX(float /*angle*/) const { return nullptr; }
    std::shared_ptr<SVGMatrix> skewY(float /*angle*/) const { return nullptr; }
};

}  // namespace svg
