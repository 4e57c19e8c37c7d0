// The base of the views that put a parsed floor plan on screen: the image, a
// border switch and a selected layer. Only its subclasses can be made.
#pragma once

#include <memory>

#include "graphics/Layer.h"
#include "svg/image/SVGXImage.h"
#include "uikit/UIView.h"

namespace svg {

class SVGXImageView : public uikit::UIView {
public:
    virtual std::shared_ptr<SVGXImage> image() const { return image_; }
    virtual void setImage(std::shared_ptr<SVGXImage> image) { image_ = std::move(image); }
    virtual bool showBorder() const { return showBorder_; }
    virtual void setShowBorder(bool showBorder) { showBorder_ = showBorder; }
    const graphics::LayerPtr& selectedLayer() const { return selectedLayer_; }
    void setSelectedLayer(graphics::LayerPtr layer) { selectedLayer_ = std::move(layer); }

    // Appends to the image's own layer tree; nothing without an image.
    void addLayerToLayerTree(const graphics::LayerPtr& layer);

    std::string className() const override { return "SVGXImageView"; }

protected:
    explicit SVGXImageView(const graphics::Rect& frame = {}) : UIView(frame) {}

private:
    std::shared_ptr<SVGXImage> image_;
    bool showBorder_ = false;
    graphics::LayerPtr selectedLayer_;
};

}  // namespace svg
