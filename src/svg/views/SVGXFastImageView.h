// The view the indoor map draws every floor plan with: it renders the image's
// layer tree into its own drawing, stretched to its bounds or tiled, instead
// of hosting the layers. The render pass ignores masks and the root's
// transform, so images with gradients or a scale are drawn after a warning.
//
// With auto-redraw on, every change that would show differently marks it as
// needing display: its frame, image, tile ratio and border, the image's size
// (followed for the image it was given while auto-redraw was on), and its
// backing layer's transform, which without tiling also takes the image's
// layer tree out of any tree it was put in. With auto-redraw off it draws
// when first displayed and when its owner asks.
#pragma once

#include <memory>
#include <string>

#include "svg/dom/Node.h"
#include "svg/views/SVGXImageView.h"

namespace svg {

class SVGXFastImageView : public SVGXImageView {
public:
    // A null image is accepted with a warning; the view then draws only its
    // border.
    static std::shared_ptr<SVGXFastImageView> initWithSVGXImage(std::shared_ptr<SVGXImage> image);
    // No image; a clear background.
    static std::shared_ptr<SVGXFastImageView> initWithFrame(const graphics::Rect& frame);

    std::shared_ptr<SVGXImage> image() const override { return image_; }
    void setImage(std::shared_ptr<SVGXImage> image) override;
    void setShowBorder(bool showBorder) override;
    // Columns and rows of tiles; the zero size means the image drawn once.
    graphics::Size tileRatio() const { return tileRatio_; }
    void setTileRatio(graphics::Size ratio);
    bool disableAutoRedrawAtHighestResolution() const { return disableAutoRedraw_; }
    void setDisableAutoRedrawAtHighestResolution(bool disable);

    static bool svgImageHasNoGradients(const SVGXImage& image);
    static bool svgElementAndDescendentsHaveNoGradients(const Node& element);

    void setFrame(const graphics::Rect& frame) override;
    void drawRect(const graphics::Rect& rect) override;
    // A layer that reports changes of its transform to the view.
    graphics::LayerPtr makeBackingLayer() const override;

    std::string className() const override { return "SVGXFastImageView"; }

    // For make_shared; use the factories.
    explicit SVGXFastImageView(const graphics::Rect& frame);
    ~SVGXFastImageView() override;

private:
    void redrawUnlessDisabled();
    void backingLayerTransformDidChange();

    std::shared_ptr<SVGXImage> image_;
    graphics::Size tileRatio_;
    bool disableAutoRedraw_ = false;
    // Whether the image's size is followed (see above).
    bool observingImageSize_ = false;
};

}  // namespace svg
