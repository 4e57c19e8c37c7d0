#include "uikit/UIActivityIndicatorView.h"

#include <cmath>
#include <numbers>

#include "graphics/MutablePath.h"
#include "graphics/StrokeStyle.h"

namespace uikit {

UIActivityIndicatorView::UIActivityIndicatorView(UIActivityIndicatorViewStyle style)
    : style_(style), color_(colorOfStyle(style)) {
    setFrame({{0, 0}, sizeThatFits({0, 0})});
    setHidden(true);
}

UIActivityIndicatorView::UIActivityIndicatorView(const graphics::Rect& frame)
    : UIView(frame), style_(UIActivityIndicatorViewStyle::White), color_(colorOfStyle(style_)) {
    setHidden(true);
}

graphics::Color UIActivityIndicatorView::colorOfStyle(UIActivityIndicatorViewStyle style) {
    return style == UIActivityIndicatorViewStyle::Gray ? graphics::Color::gray(0.5) : graphics::Color::white();
}

void UIActivityIndicatorView::setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style) {
    style_ = style;
    color_ = colorOfStyle(style);
    setNeedsDisplay();
}

void UIActivityIndicatorView::setColor(std::optional<graphics::Color> color) {
    color_ = color.value_or(colorOfStyle(style_));
    setNeedsDisplay();
}

void UIActivityIndicatorView::startAnimating() {
    animating_ = true;
    if (hidesWhenStopped_) setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_) setHidden(true);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    setHidden(hides && !animating_);
}

graphics::Size UIActivityIndicatorView::sizeThatFits(graphics::Size) const {
    double side = style_ == UIActivityIndicatorViewStyle::WhiteLarge ? 37 : 20;
    return {side, side};
}

void UIActivityIndicatorView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    // Twelve spokes, fading around the wheel.
    graphics::Point centre{rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2};
    double outer = std::min(rect.size.width, rect.size.height) / 2;
    for (int spoke = 0; spoke < 12; ++spoke) {
        double angle = spoke * std::numbers::pi / 6;
        graphics::MutablePath path;
        path.moveToPoint({centre.x + std::cos(angle) * outer * 0.5, centre.y + std::sin(angle) * outer * 0.5});
        path.addLineToPoint({centre.x + std::cos(angle) * outer, centre.y + std::sin(angle) * outer});
        graphics::StrokeStyle stroke;
        stroke.color = color_.withAlpha(color_.alpha() * (0.25 + 0.75 * spoke / 11.0));
        stroke.lineWidth = outer / 5;
        stroke.lineCap = graphics::LineCap::Round;
        context->strokePath(path, stroke);
    }
}

}  // namespace uikit
