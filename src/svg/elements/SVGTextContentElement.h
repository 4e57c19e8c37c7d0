// The base of the text elements.
#pragma once

#include <memory>

#include "svg/elements/SVGElement.h"

namespace svg {

class SVGTextContentElement : public SVGElement {
public:
    using SVGElement::SVGElement;

    // Declared by the SVG DOM; never set.
    const std::shared_ptr<SVGLength>& textLength() const { return textLength_; }

    std::string className() const override { return "SVGTextContentElement"; }

private:
    std::shared_ptr<SVGLength> textLength_;
};

}  // namespace svg
