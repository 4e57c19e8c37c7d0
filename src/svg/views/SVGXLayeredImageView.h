// A view whose backing layer hosts the floor plan's layer tree live, so masks
// and transforms show as the layers define them. Given no image it shows a
// built-in "Missing SVG" placeholder.
#pragma once

#include <memory>

#include "graphics/ShapeLayer.h"
#include "svg/views/SVGXImageView.h"
#include "svg/views/SVGXLayer.h"

namespace svg {

class SVGXLayeredImageView : public SVGXImageView {
public:
    static std::shared_ptr<SVGXLayeredImageView> initWithSVGXImage(std::shared_ptr<SVGXImage> image);
    // No image; a clear background.
    static std::shared_ptr<SVGXLayeredImageView> initWithFrame(const graphics::Rect& frame);

    graphics::LayerPtr makeBackingLayer() const override { return SVGXLayer::layer(); }
    SVGXLayer& svgLayer() const { return static_cast<SVGXLayer&>(*layer()); }

    std::shared_ptr<SVGXImage> image() const override { return svgLayer().SVGImage(); }
    void setImage(std::shared_ptr<SVGXImage> image) override { svgLayer().setSVGImage(std::move(image)); }
    bool showBorder() const override { return svgLayer().showBorder(); }
    void setShowBorder(bool showBorder) override { svgLayer().setShowBorder(showBorder); }
    const std::shared_ptr<graphics::ShapeLayer>& internalBorderLayer() const { return internalBorderLayer_; }

    std::string className() const override { return "SVGXLayeredImageView"; }

    // For make_shared; use the factories.
    explicit SVGXLayeredImageView(const graphics::Rect& frame);

private:
    std::shared_ptr<graphics::ShapeLayer> internalBorderLayer_;
};

// The placeholder drawing shown for a missing image.
extern const char* const kSVGXMissingImagePlaceholder;

}  // namespace svg
