// The SVG DOM point: two read-only numbers. Transforming it is not supported;
// the library works with platform points.
#pragma once

#include <memory>

namespace svg {

class SVGMatrix;

class SVGPoint {
public:
    SVGPoint(float x, float y) : x_(x), y_(y) {}

    float x() const { return x_; }
    float y() const { return y_; }

    std::shared_ptr<SVGPoint> matrixTransform(const SVGMatrix& /*matrix*/) const { return nullptr; }

private:
    float x_;
    float y_;
};

}  // namespace svg
