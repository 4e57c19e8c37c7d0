// A layer that hosts a floor plan's layer tree as a live sublayer, with an
// optional one-point black border.
#pragma once

#include <memory>

#include "graphics/Layer.h"
#include "svg/image/SVGXImage.h"

namespace svg {

class SVGXLayer : public graphics::Layer {
public:
    SVGXLayer() { setBorderColor(graphics::Color::black()); }
    static std::shared_ptr<SVGXLayer> layer() { return std::make_shared<SVGXLayer>(); }
    std::string className() const override { return "SVGXLayer"; }
    graphics::LayerPtr makeLayerOfSameClass() const override { return layer(); }

    const std::shared_ptr<SVGXImage>& SVGImage() const { return image_; }
    // Swaps the hosted tree: the old image's tree leaves, the new one's joins.
    void setSVGImage(std::shared_ptr<SVGXImage> image);
    bool showBorder() const { return showBorder_; }
    void setShowBorder(bool showBorder);

private:
    std::shared_ptr<SVGXImage> image_;
    bool showBorder_ = false;
};

}  // namespace svg
