// The view the indoor map draws every floor plan with: it renders the image's
// layer tree into its own drawing, stretched to its bounds or tiled, instead
// of hosting the layers. The render pass ignores masks and the root's
// transform, so images with gradients or a scale are drawn after a warning.
//
// Changes that would redraw it on the platform (its frame, image, tile ratio,
// border) mark it as needing display unless auto-redraw is disabled; the
// image's own size has no change notification here, so resizing the image
// needs an explicit setNeedsDisplay.
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

    std::string className() const override { return "SVGXFastImageView"; }

    // For make_shared; use the factories.
    explicit SVGXFastImageView(const graphics::Rect& frame);

private:
    void redrawUnlessDisabled();

    std::shared_ptr<SVGXImage> image_;
    graphics::Size tileRatio_;
    bool disableAutoRedraw_ = false;
};

}  // namespace svg
