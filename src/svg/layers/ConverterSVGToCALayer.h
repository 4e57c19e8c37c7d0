// What an element offers the layer-tree builder: a layer for itself alone,
// and a chance to adjust that layer once the layers of its children hang
// below it. Elements that draw nothing of their own but gather children
// (groups) answer a container; elements that draw nothing at all answer null,
// and the builder then skips them with their whole subtree.
#pragma once

#include "graphics/Layer.h"

namespace svg {

class ConverterSVGToCALayer {
public:
    virtual ~ConverterSVGToCALayer() = default;

    // A fresh layer the caller owns; null when the element contributes none.
    virtual graphics::LayerPtr newLayer() const = 0;
    // Called with the layer newLayer made, after its sublayers were added.
    virtual void layoutLayer(const graphics::LayerPtr& layer) const = 0;
};

}  // namespace svg
