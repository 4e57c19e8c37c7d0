// Deep copy of a layer tree, property by property, for each layer class the
// floor plans use.
#include "svg/layers/CALayer_Clone.h"

#include "graphics/GradientLayer.h"
#include "graphics/ShapeLayer.h"
#include "graphics/TextLayer.h"

namespace svg {

graphics::LayerPtr cloneRecursively(const graphics::Layer& layer) {
    graphics::LayerPtr clone = layer.makeLayerOfSameClass();
    clone->setBounds(layer.bounds());
    clone->setPosition(layer.position());
    clone->setZPosition(layer.zPosition());
    clone->setAnchorPoint(layer.anchorPoint());
    clone->setAnchorPointZ(layer.anchorPointZ());
    clone->setTransform(layer.transform());
    clone->setHidden(layer.isHidden());
    clone->setDoubleSided(layer.isDoubleSided());
    clone->setGeometryFlipped(layer.isGeometryFlipped());
    clone->setSublayerTransform(layer.sublayerTransform());
    if (layer.mask()) clone->setMask(cloneRecursively(*layer.mask()));
    clone->setMasksToBounds(layer.masksToBounds());
    clone->setContents(layer.contents());
    clone->setContentsRect(layer.contentsRect());
    clone->setContentsGravity(layer.contentsGravity());
    clone->setContentsScale(layer.contentsScale());
    clone->setContentsCenter(layer.contentsCenter());
    clone->setMinificationFilter(layer.minificationFilter());
    clone->setMagnificationFilter(layer.magnificationFilter());
    clone->setMinificationFilterBias(layer.minificationFilterBias());
    clone->setOpaque(layer.isOpaque());
    clone->setNeedsDisplayOnBoundsChange(layer.needsDisplayOnBoundsChange());
    clone->setDrawsAsynchronously(layer.drawsAsynchronously());
    clone->setEdgeAntialiasingMask(layer.edgeAntialiasingMask());
    clone->setBackgroundColor(layer.backgroundColor());
    clone->setCornerRadius(layer.cornerRadius());
    clone->setBorderWidth(layer.borderWidth());
    clone->setBorderColor(layer.borderColor());
    clone->setOpacity(layer.opacity());
    clone->setCompositingFilter(layer.compositingFilter());
    clone->setFilters(layer.filters());
    clone->setBackgroundFilters(layer.backgroundFilters());
    clone->setShouldRasterize(layer.shouldRasterize());
    clone->setRasterizationScale(layer.rasterizationScale());
    clone->setShadowColor(layer.shadowColor());
    clone->setShadowOpacity(layer.shadowOpacity());
    clone->setShadowOffset(layer.shadowOffset());
    clone->setShadowRadius(layer.shadowRadius());
    clone->setShadowPath(layer.shadowPath());
    clone->setName(layer.name());
    clone->setStyle(layer.style());

    auto* gradient = dynamic_cast<graphics::GradientLayer*>(clone.get());
    if (const auto* source = dynamic_cast<const graphics::GradientLayer*>(&layer); gradient && source) {
        gradient->setStartPoint(source->startPoint());
        gradient->setEndPoint(source->endPoint());
        gradient->setType(source->type());
        gradient->setColors(source->colors());
        gradient->setLocations(source->locations());
    }
    // Join, miter limit, fill rule and dashes deliberately keep the new
    // layer's defaults.
    auto* shape = dynamic_cast<graphics::ShapeLayer*>(clone.get());
    if (const auto* source = dynamic_cast<const graphics::ShapeLayer*>(&layer); shape && source) {
        shape->setPath(source->path());
        shape->setFillColor(source->fillColor());
        shape->setStrokeColor(source->strokeColor());
        shape->setLineWidth(source->lineWidth());
        shape->setLineCap(source->lineCap());
    }
    auto* text = dynamic_cast<graphics::TextLayer*>(clone.get());
    if (const auto* source = dynamic_cast<const graphics::TextLayer*>(&layer); text && source) {
        text->setString(source->string());
        text->setFont(source->font());
        text->setFontSize(source->fontSize());
        text->setForegroundColor(source->foregroundColor());
        text->setWrapped(source->isWrapped());
        text->setTruncationMode(source->truncationMode());
        text->setAlignmentMode(source->alignmentMode());
    }
    for (const auto& sublayer : layer.sublayers()) clone->addSublayer(cloneRecursively(*sublayer));
    return clone;
}

}  // namespace svg
