// The image element's attributes and layer.
#include "svg/elements/SVGImageElement.h"

#include "svg/elements/SVGFloatFromString.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

void SVGImageElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGElement::postProcessAttributesAddingErrorsTo(parseResult);
    auto read = [this](const char* name, double& field) {
        if (std::string text = getAttribute(name); !text.empty()) field = SVGFloatFromString(text);
    };
    read("x", x_);
    read("y", y_);
    read("width", width_);
    read("height", height_);
    if (std::string href = getAttribute("href"); !href.empty()) href_ = href;
}

graphics::LayerPtr SVGImageElement::newLayer() const {
    auto layer = graphics::Layer::layer();
    SVGHelperUtilities::configureCALayer(*layer, *this);
    graphics::AffineTransform absolute =
        SVGHelperUtilities::transformAbsoluteIncludingViewportForTransformableOrViewportEstablishingElement(*this);
    layer->setFrame(absolute.apply(graphics::Rect(x_, y_, width_, height_)));
    if (href_) layer->setContents(SVGMapFolder::getImageFromSavedLocalFileName(*href_));
    return layer;
}

}  // namespace svg
