// The mark of an element that carries its own affine transform: groups, use,
// the shapes, texts, images and gradients. The generic attribute step reads
// "transform" (or "gradientTransform") only into elements that carry one;
// the others ignore both attributes.
#pragma once

#include <memory>

#include "graphics/AffineTransform.h"

namespace svg {

class SVGTransformable {
public:
    virtual ~SVGTransformable() = default;

    // The identity until the attribute step composes the element's list.
    const graphics::AffineTransform& transform() const {
        static const graphics::AffineTransform identity;
        return transform_ ? *transform_ : identity;
    }
    void setTransform(const graphics::AffineTransform& transform) {
        if (transform_) {
            *transform_ = transform;
        } else {
            transform_ = std::make_unique<graphics::AffineTransform>(transform);
        }
    }

private:
    // Null for the identity: of a plan's tens of thousands of shapes, texts
    // and edges, only the groups carry a transform of their own.
    std::unique_ptr<graphics::AffineTransform> transform_;
};

}  // namespace svg
