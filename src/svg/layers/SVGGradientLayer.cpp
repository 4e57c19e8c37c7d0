// Drawing and hit testing of gradient fills.
#include "svg/layers/SVGGradientLayer.h"

#include <algorithm>
#include <cmath>

#include "graphics/DrawingContext.h"
#include "graphics/Gradient.h"
#include "graphics/MutablePath.h"

namespace svg {

bool SVGGradientLayer::containsPoint(graphics::Point p) const {
    if (!Layer::containsPoint(p)) return false;
    return !maskPath_ || maskPath_->containsPoint(p, graphics::FillRule::NonZero);
}

void SVGGradientLayer::drawInContext(graphics::DrawingContext& context) const {
    context.saveGState();
    if (maskPath_) context.clipToPath(*maskPath_);
    if (type() == kSVGGradientLayerTypeRadial) {
        drawRadialGradient(context);
    } else {
        GradientLayer::drawInContext(context);
    }
    context.restoreGState();
}

// The ramp runs from the start point outward to a radius of the end point's
// x as a fraction of the width, and goes on in its last colour beyond it.
void SVGGradientLayer::drawRadialGradient(graphics::DrawingContext& context) const {
    if (colors().empty()) return;
    graphics::Point centre = startPoint();
    context.translateCTM(centre.x, centre.y);
    context.concatCTM(gradientTransform_);
    context.translateCTM(-centre.x, -centre.y);
    float radius = std::floor(float(endPoint().x) * float(bounds().width()));
    if (!std::isfinite(radius) || radius <= 0) {
        // Everything lies beyond a ramp of no length.
        graphics::MutablePath box;
        box.addRect(bounds());
        context.fillPath(box, colors().back());
        return;
    }
    std::vector<double> locations;
    for (double location : this->locations()) locations.push_back(double(float(location)));
    graphics::Gradient gradient(colors().front().colorSpace(), colors(), std::move(locations));
    context.drawRadialGradient(gradient, centre, 0, centre, radius, graphics::kGradientDrawsAfterEndLocation);
}

void SVGGradientLayer::setStopColor(const graphics::Color& color, const std::string& forIdentifier) {
    auto found = std::find(stopIdentifiers_.begin(), stopIdentifiers_.end(), forIdentifier);
    if (found == stopIdentifiers_.end()) return;
    auto index = size_t(found - stopIdentifiers_.begin());
    std::vector<graphics::Color> newColors = colors();
    if (index >= newColors.size()) return;
    graphics::Color::RGBA rgba = color.rgba();
    newColors[index] = graphics::Color::rgb(rgba.red, rgba.green, rgba.blue, newColors[index].alpha());
    setColors(std::move(newColors));
}

}  // namespace svg
