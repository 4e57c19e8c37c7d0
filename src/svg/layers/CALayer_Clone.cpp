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
    clone->setAnchorPoint(layer.anchorPoint());
    clone->setTransform(layer.transform());
    clone->setHidden(layer.isHidden());
    if (layer.mask()) clone->setMask(cloneRecursively(*layer.mask()));
    clone->setContents(layer.contents());
    clone->setBackgroundColor(layer.backgroundColor());
    clone->setCornerRadius(layer.cornerRadius());
    clone->setBorderWidth(layer.borderWidth());
    clone->setBorderColor(layer.borderColor());
    clone->setOpacity(layer.opacity());
    clone->setName(layer.name());

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
        text->setAlignmentMode(source->alignmentMode());
    }
    for (const auto& sublayer : layer.sublayers()) clone->addSublayer(cloneRecursively(*sublayer));
    return clone;
}

}  // namespace svg
