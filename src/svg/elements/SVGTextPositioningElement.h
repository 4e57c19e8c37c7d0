// A text element with a position: "x", "y", "dx", "dy" and "rotate" as
// lengths. Only x and y place the text; the others are kept unused.
#pragma once

#include <memory>

#include "svg/elements/SVGTextContentElement.h"

namespace svg {

class SVGTextPositioningElement : public SVGTextContentElement {
public:
    using SVGTextContentElement::SVGTextContentElement;

    // Set by the attribute step; a missing attribute reads as a zero length.
    const std::shared_ptr<SVGLength>& x() const { return x_; }
    const std::shared_ptr<SVGLength>& y() const { return y_; }
    const std::shared_ptr<SVGLength>& dx() const { return dx_; }
    const std::shared_ptr<SVGLength>& dy() const { return dy_; }
    const std::shared_ptr<SVGLength>& rotate() const { return rotate_; }

    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGTextPositioningElement"; }

private:
    std::shared_ptr<SVGLength> x_, y_, dx_, dy_, rotate_;
};

}  // namespace svg
