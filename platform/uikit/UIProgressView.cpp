#include "uikit/UIProgressView.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"

namespace uikit {

UIProgressView::UIProgressView(UIProgressViewStyle style) : UIView({{0, 0}, {0, kHeight}}), style_(style) {}

UIProgressView::UIProgressView(const graphics::Rect& frame) : UIView(frame), style_(UIProgressViewStyle::Default) {}

void UIProgressView::setProgress(double progress, bool animated) {
    progress_ = std::isnan(progress) ? 0 : std::clamp(progress, 0.0, 1.0);
    lastChangeAnimated_ = animated;
    setNeedsDisplay();
}

void UIProgressView::setProgressTintColor(std::optional<graphics::Color> color) {
    progressTint_ = std::move(color);
    setNeedsDisplay();
}

void UIProgressView::setTrackTintColor(std::optional<graphics::Color> color) {
    trackTint_ = std::move(color);
    setNeedsDisplay();
}

void UIProgressView::setProgressImage(UIImagePtr image) {
    progressImage_ = std::move(image);
    setNeedsDisplay();
}

void UIProgressView::setTrackImage(UIImagePtr image) {
    trackImage_ = std::move(image);
    setNeedsDisplay();
}

void UIProgressView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    graphics::Rect filled{rect.origin, {rect.size.width * progress_, rect.size.height}};
    if (trackImage_) {
        trackImage_->drawInContext(*context, rect);
    } else {
        graphics::MutablePath track;
        track.addRect(rect);
        context->fillPath(track, trackTint_.value_or(graphics::Color::gray(0.72)));
    }
    if (progressImage_) {
        progressImage_->drawInContext(*context, filled);
    } else {
        graphics::MutablePath bar;
        bar.addRect(filled);
        context->fillPath(bar, progressTint_.value_or(tintColor()));
    }
}

}  // namespace uikit
