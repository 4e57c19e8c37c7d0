// Drawing of shape layers: one fill, then one stroke, each only when it
// would show.
#include "graphics/ShapeLayer.h"

#include "graphics/DrawingContext.h"

namespace graphics {

void ShapeLayer::drawInContext(DrawingContext& context) const {
    if (!path_ || path_->isEmpty()) return;
    if (fillColor_) context.fillPath(*path_, *fillColor_, fillRule_);
    if (strokeColor_ && lineWidth_ > 0) {
        StrokeStyle style;
        style.color = *strokeColor_;
        style.lineWidth = lineWidth_;
        style.lineCap = lineCap_;
        style.lineJoin = lineJoin_;
        style.miterLimit = miterLimit_;
        style.dashPattern = lineDashPattern_;
        style.dashPhase = lineDashPhase_;
        context.strokePath(*path_, style);
    }
}

}  // namespace graphics
