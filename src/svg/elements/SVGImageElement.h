// The "image" element: a bitmap the maps service saved next to the floor-plan
// files, named by "href" and stretched over the element's rectangle. The name
// is a plain file name in the map folder; nothing else is resolved.
#pragma once

#include <optional>
#include <string>

#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGRect.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class SVGImageElement : public SVGElement, public SVGTransformable, public ConverterSVGToCALayer {
public:
    using SVGElement::SVGElement;

    // The leading number of each attribute; 0 when not given.
    double x() const { return x_; }
    double y() const { return y_; }
    double width() const { return width_; }
    double height() const { return height_; }
    const std::optional<std::string>& href() const { return href_; }
    // Never read from the file.
    const SVGRect& viewBox() const { return viewBox_; }
    void setViewBox(const SVGRect& viewBox) { viewBox_ = viewBox; }

    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;

    // A plain layer framed on the rectangle through the absolute transform
    // (the bounding box when that turns it), showing the map-folder image;
    // without one it keeps its frame and shows nothing.
    graphics::LayerPtr newLayer() const override;
    void layoutLayer(const graphics::LayerPtr& /*layer*/) const override {}

    std::string className() const override { return "SVGImageElement"; }

private:
    double x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    std::optional<std::string> href_;
    SVGRect viewBox_;
};

}  // namespace svg
