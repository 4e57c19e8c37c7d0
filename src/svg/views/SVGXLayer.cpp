// The hosting layer's image swap and border switch.
#include "svg/views/SVGXLayer.h"

namespace svg {

void SVGXLayer::setSVGImage(std::shared_ptr<SVGXImage> image) {
    if (image == image_) return;
    if (image_) {
        if (auto tree = image_->CALayerTree()) tree->removeFromSuperlayer();
    }
    image_ = std::move(image);
    if (image_) {
        if (auto tree = image_->CALayerTree()) addSublayer(tree);
    }
}

void SVGXLayer::setShowBorder(bool showBorder) {
    showBorder_ = showBorder;
    setBorderWidth(showBorder ? 1.0 : 0.0);
    setNeedsDisplay();
}

}  // namespace svg
