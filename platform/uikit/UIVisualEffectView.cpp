#include "uikit/UIVisualEffectView.h"

#include "graphics/MutablePath.h"

namespace uikit {

UIVisualEffectView::UIVisualEffectView(UIBlurEffectPtr effect, const graphics::Rect& frame)
    : UIView(frame), effect_(std::move(effect)) {}

void UIVisualEffectView::setEffect(UIBlurEffectPtr effect) {
    effect_ = std::move(effect);
    setNeedsDisplay();
}

const UIViewPtr& UIVisualEffectView::contentView() {
    if (!contentView_) {
        contentView_ = std::make_shared<UIView>(bounds());
        contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        addSubview(contentView_);
    }
    return contentView_;
}

void UIVisualEffectView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context || !effect_) return;
    graphics::MutablePath wash;
    wash.addRect(rect);
    switch (effect_->style()) {
        case UIBlurEffectStyle::ExtraLight: context->fillPath(wash, graphics::Color::gray(0.97, 0.8)); break;
        case UIBlurEffectStyle::Light: context->fillPath(wash, graphics::Color::gray(0.97, 0.6)); break;
        case UIBlurEffectStyle::Dark: context->fillPath(wash, graphics::Color::gray(0.11, 0.7)); break;
    }
}

}  // namespace uikit
