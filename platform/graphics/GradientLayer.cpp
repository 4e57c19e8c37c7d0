// Gradient layer drawing, always clipped to the bounds so an extended ramp
// never spills past the layer.
#include "graphics/GradientLayer.h"

#include <cmath>

#include "graphics/DrawingContext.h"
#include "graphics/Gradient.h"
#include "graphics/MutablePath.h"

namespace graphics {

void GradientLayer::drawInContext(DrawingContext& context) const {
    Rect box = bounds().standardized();
    if (colors_.empty() || box.isEmpty()) return;
    bool axial = type_ == kGradientLayerTypeAxial;
    if (!axial && type_ != kGradientLayerTypeRadial) return;

    Gradient gradient(ColorSpace::deviceRGB(), colors_, locations_);
    auto inBox = [&](Point unit) {
        return Point{box.minX() + unit.x * box.width(), box.minY() + unit.y * box.height()};
    };
    Point start = inBox(startPoint_);
    Point end = inBox(endPoint_);
    const unsigned extend = kGradientDrawsBeforeStartLocation | kGradientDrawsAfterEndLocation;

    MutablePath clip;
    clip.addRect(box);
    context.saveGState();
    context.clipToPath(clip);
    if (axial) {
        context.drawLinearGradient(gradient, start, end, extend);
    } else {
        // An ellipse is a circle of radius 1 scaled to the two radii.
        double rx = std::fabs(end.x - start.x);
        double ry = std::fabs(end.y - start.y);
        if (rx == 0) rx = ry;
        if (ry == 0) ry = rx;
        if (rx > 0) {
            context.translateCTM(start.x, start.y);
            context.scaleCTM(rx, ry);
            context.drawRadialGradient(gradient, {0, 0}, 0, {0, 0}, 1, extend);
        }
    }
    context.restoreGState();
}

}  // namespace graphics
