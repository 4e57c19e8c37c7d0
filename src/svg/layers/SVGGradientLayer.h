// The layer of a gradient fill: a gradient layer clipped to the outline of
// the shape it fills. Linear gradients are drawn by the platform layer;
// radial ones ("radialGradient") are drawn here, about the start point with
// the gradient transform applied around it.
//
// The outline is kept in the layer's own coordinates, where both drawing and
// hit testing need it, so the layer answers for the shape and not for its
// bounding box.
#pragma once

#include <string>
#include <vector>

#include "graphics/AffineTransform.h"
#include "graphics/GradientLayer.h"
#include "graphics/Path.h"

namespace svg {

inline constexpr const char* kSVGGradientLayerTypeRadial = "radialGradient";

class SVGGradientLayer : public graphics::GradientLayer {
public:
    static std::shared_ptr<SVGGradientLayer> layer() { return std::make_shared<SVGGradientLayer>(); }
    std::string className() const override { return "SVGGradientLayer"; }
    graphics::LayerPtr makeLayerOfSameClass() const override { return layer(); }

    const graphics::PathPtr& maskPath() const { return maskPath_; }
    void setMaskPath(graphics::PathPtr path) { maskPath_ = std::move(path); }
    const std::vector<std::string>& stopIdentifiers() const { return stopIdentifiers_; }
    void setStopIdentifiers(std::vector<std::string> identifiers) { stopIdentifiers_ = std::move(identifiers); }
    // The gradient's own transform, without translation (the layer's
    // transform in the tree is the inherited one).
    const graphics::AffineTransform& gradientTransform() const { return gradientTransform_; }
    void setGradientTransform(const graphics::AffineTransform& transform) { gradientTransform_ = transform; }

    // Inside the bounds and inside the outline by the non-zero rule; without
    // an outline, the bounds alone.
    bool containsPoint(graphics::Point p) const override;
    // Clipped to the outline.
    void drawInContext(graphics::DrawingContext& context) const override;

    // Gives the colour of the stop with that identifier the red, green and
    // blue of the new colour, keeping its alpha; an unknown identifier
    // changes nothing.
    void setStopColor(const graphics::Color& color, const std::string& forIdentifier);

private:
    void drawRadialGradient(graphics::DrawingContext& context) const;

    graphics::PathPtr maskPath_;
    std::vector<std::string> stopIdentifiers_;
    graphics::AffineTransform gradientTransform_;
};

}  // namespace svg
