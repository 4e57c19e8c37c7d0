// The "ellipse" element, and through its subclass the circle: centre and
// radii, the path built afresh each time a layer is made.
#pragma once

#include "svg/elements/BaseClassForAllSVGBasicShapes.h"

namespace svg {

class SVGEllipseElement : public BaseClassForAllSVGBasicShapes {
public:
    using BaseClassForAllSVGBasicShapes::BaseClassForAllSVGBasicShapes;

    double cx() const { return cx_; }
    void setCx(double value) { cx_ = value; }
    double cy() const { return cy_; }
    void setCy(double value) { cy_ = value; }
    double rx() const { return rx_; }
    void setRx(double value) { rx_ = value; }
    double ry() const { return ry_; }
    void setRy(double value) { ry_ = value; }

    // The inherited step, then "cx", "cy", "rx", "ry" and last "r", which
    // sets both radii. Each is the text's leading number, units ignored.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    // The ellipse inscribed in (cx - rx, cy - ry, 2rx, 2ry).
    graphics::PathPtr newPathForLayer() const override;

    std::string className() const override { return "SVGEllipseElement"; }

private:
    double cx_ = 0, cy_ = 0, rx_ = 0, ry_ = 0;
};

}  // namespace svg
