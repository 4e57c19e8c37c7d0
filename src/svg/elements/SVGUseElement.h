// The "use" element: draws another element of the file through the instance
// tree the parser's use step builds for it. Its own transform is laid over
// the referenced element's layer; its "x" and "y" are kept but not applied.
#pragma once

#include <memory>

#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGElementInstance.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class SVGUseElement : public SVGElement, public SVGTransformable, public ConverterSVGToCALayer {
public:
    using SVGElement::SVGElement;

    // Set by the parser's use step; null until then.
    const std::shared_ptr<SVGLength>& x() const { return x_; }
    void setX(std::shared_ptr<SVGLength> value) { x_ = std::move(value); }
    const std::shared_ptr<SVGLength>& y() const { return y_; }
    void setY(std::shared_ptr<SVGLength> value) { y_ = std::move(value); }
    const std::shared_ptr<SVGLength>& width() const { return width_; }
    void setWidth(std::shared_ptr<SVGLength> value) { width_ = std::move(value); }
    const std::shared_ptr<SVGLength>& height() const { return height_; }
    void setHeight(std::shared_ptr<SVGLength> value) { height_ = std::move(value); }
    const std::shared_ptr<SVGElementInstance>& instanceRoot() const { return instanceRoot_; }
    void setInstanceRoot(std::shared_ptr<SVGElementInstance> root) { instanceRoot_ = std::move(root); }
    // Never set.
    const std::shared_ptr<SVGElementInstance>& animatedInstanceRoot() const { return animatedInstanceRoot_; }

    // The referenced element's layer with this element's transform put before
    // the layer's own; null when nothing was found or it draws nothing. A
    // layer without area is handed back untransformed.
    graphics::LayerPtr newLayer() const override;
    // Handed on to the referenced element.
    void layoutLayer(const graphics::LayerPtr& layer) const override;

    std::string className() const override { return "SVGUseElement"; }

private:
    const ConverterSVGToCALayer* referencedConverter() const;

    std::shared_ptr<SVGLength> x_, y_, width_, height_;
    std::shared_ptr<SVGElementInstance> instanceRoot_;
    std::shared_ptr<SVGElementInstance> animatedInstanceRoot_;
};

}  // namespace svg
