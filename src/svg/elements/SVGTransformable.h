// The mark of an element that carries its own affine transform: groups, use,
// the shapes, texts, images and gradients. The generic attribute step reads
// "transform" (or "gradientTransform") only into elements that carry one;
// the others ignore both attributes.
#pragma once

#include "graphics/AffineTransform.h"

namespace svg {

class SVGTransformable {
public:
    virtual ~SVGTransformable() = default;

    // The identity until the attribute step composes the element's list.
    const graphics::AffineTransform& transform() const { return transform_; }
    void setTransform(const graphics::AffineTransform& transform) { transform_ = transform; }

private:
    graphics::AffineTransform transform_;
};

}  // namespace svg
