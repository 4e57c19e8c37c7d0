// The "line" element: one segment, its path built afresh each time a layer
// is made.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGLineElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }

    // The inherited step, then "x1", "y1", "x2", "y2" (leading numbers; 0
    // when not given).
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    // A move to (x1, y1) and a line to (x2, y2).
    graphics::PathPtr newPathForLayer() const override;

    std::string className() const override { return "SVGLineElement"; }

private:
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

}  // namespace svg
