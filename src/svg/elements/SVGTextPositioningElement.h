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
    const std::shared_ptr<SVGLength>& x() const { return lengthIn(x_); }
    const std::shared_ptr<SVGLength>& y() const { return lengthIn(y_); }
    const std::shared_ptr<SVGLength>& dx() const { return lengthIn(dx_); }
    const std::shared_ptr<SVGLength>& dy() const { return lengthIn(dy_); }
    const std::shared_ptr<SVGLength>& rotate() const { return lengthIn(rotate_); }

    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGTextPositioningElement"; }

private:
    // A plan's labels carry x and y alone, and thousands of labels would
    // each hold three lengths of no text: the length of an attribute missing
    // at the attribute step is made from no text when first asked for, which
    // reads the same.
    const std::shared_ptr<SVGLength>& lengthIn(std::shared_ptr<SVGLength>& slot) const;

    mutable std::shared_ptr<SVGLength> x_, y_, dx_, dy_, rotate_;
    bool attributesRead_ = false;  // until then every length is null
};

}  // namespace svg
