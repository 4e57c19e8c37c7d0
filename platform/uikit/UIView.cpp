// The view's layer bookkeeping and its display pass.
#include "uikit/UIView.h"

#include "graphics/MutablePath.h"

namespace uikit {

namespace {
graphics::DrawingContext* currentContext = nullptr;
}

graphics::DrawingContext* UIGraphicsGetCurrentContext() { return currentContext; }

UIView::UIView(const graphics::Rect& frame) : frame_(frame) {}

const graphics::LayerPtr& UIView::layer() const {
    if (!layer_) {
        layer_ = makeBackingLayer();
        layer_->setAnchorPoint({0, 0});
        layer_->setFrame(frame_);
    }
    return layer_;
}

void UIView::setFrame(const graphics::Rect& frame) {
    frame_ = frame;
    layer()->setFrame(frame);
}

void UIView::display(graphics::DrawingContext& context) {
    needsDisplay_ = false;
    if (const auto& background = backgroundColor()) {
        graphics::MutablePath path;
        path.addRect(bounds());
        context.fillPath(path, *background);
    }
    // Nested displays (a view drawing another) restore the outer context.
    graphics::DrawingContext* previous = currentContext;
    currentContext = &context;
    drawRect(bounds());
    currentContext = previous;
}

void UIView::drawRect(const graphics::Rect&) {}

}  // namespace uikit
