// The base view's one operation of its own.
#include "svg/views/SVGXImageView.h"

namespace svg {

void SVGXImageView::addLayerToLayerTree(const graphics::LayerPtr& layer) {
    if (auto current = image()) {
        if (auto tree = current->CALayerTree()) tree->addSublayer(layer);
    }
}

}  // namespace svg
