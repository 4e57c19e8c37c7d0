#include "uikit/UISlider.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"

namespace uikit {

void UISlider::setValue(double value, bool animated) {
    value_ = std::isnan(value) ? minimumValue_ : std::clamp(value, minimumValue_, std::max(minimumValue_, maximumValue_));
    lastChangeAnimated_ = animated;
    setNeedsDisplay();
}

void UISlider::setMinimumValue(double value) {
    minimumValue_ = value;
    maximumValue_ = std::max(maximumValue_, value);
    setValue(value_);
}

void UISlider::setMaximumValue(double value) {
    maximumValue_ = value;
    minimumValue_ = std::min(minimumValue_, value);
    setValue(value_);
}

void UISlider::put(ImageTable& table, UIImagePtr image, UIControlState state) {
    if (image) table[state] = std::move(image);
    else table.erase(state);
}

UIImagePtr UISlider::get(const ImageTable& table, UIControlState state) {
    if (auto it = table.find(state); it != table.end()) return it->second;
    if (auto it = table.find(UIControlStateNormal); it != table.end()) return it->second;
    return nullptr;
}

void UISlider::setMinimumTrackImage(UIImagePtr image, UIControlState state) {
    put(minimumTrackImages_, std::move(image), state);
    setNeedsDisplay();
}
UIImagePtr UISlider::minimumTrackImageForState(UIControlState state) const { return get(minimumTrackImages_, state); }
void UISlider::setMaximumTrackImage(UIImagePtr image, UIControlState state) {
    put(maximumTrackImages_, std::move(image), state);
    setNeedsDisplay();
}
UIImagePtr UISlider::maximumTrackImageForState(UIControlState state) const { return get(maximumTrackImages_, state); }
void UISlider::setThumbImage(UIImagePtr image, UIControlState state) {
    put(thumbImages_, std::move(image), state);
    setNeedsDisplay();
}
UIImagePtr UISlider::thumbImageForState(UIControlState state) const { return get(thumbImages_, state); }

void UISlider::setMinimumTrackTintColor(std::optional<graphics::Color> color) {
    minimumTrackTint_ = std::move(color);
    setNeedsDisplay();
}

void UISlider::setMaximumTrackTintColor(std::optional<graphics::Color> color) {
    maximumTrackTint_ = std::move(color);
    setNeedsDisplay();
}

bool UISlider::slideToValue(double value) {
    if (!acceptsTouches()) return false;
    auto self = weak_from_this().lock();
    setValue(value, false);
    if (continuous_) sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

bool UISlider::releaseAtValue(double value) {
    if (!acceptsTouches()) return false;
    auto self = weak_from_this().lock();
    setValue(value, false);
    sendActionsForControlEvents(UIControlEventValueChanged);
    sendActionsForControlEvents(UIControlEventTouchUpInside);
    return true;
}

bool UISlider::tapAtPoint(graphics::Point point) {
    auto b = bounds();
    double fraction = b.size.width > 0 ? (point.x - b.origin.x) / b.size.width : 0;
    return releaseAtValue(minimumValue_ + std::clamp(fraction, 0.0, 1.0) * (maximumValue_ - minimumValue_));
}

void UISlider::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    double span = maximumValue_ - minimumValue_;
    double fraction = span > 0 ? (value_ - minimumValue_) / span : 0;
    double middle = rect.origin.y + rect.size.height / 2;
    double split = rect.origin.x + rect.size.width * fraction;
    graphics::Rect left{{rect.origin.x, middle - 1}, {split - rect.origin.x, 2}};
    graphics::Rect right{{split, middle - 1}, {rect.origin.x + rect.size.width - split, 2}};
    auto paint = [&](const UIImagePtr& image, const graphics::Rect& area, const graphics::Color& tint) {
        if (image) {
            auto size = image->size();
            image->drawInContext(*context, {{area.origin.x, middle - size.height / 2}, {area.size.width, size.height}});
            return;
        }
        graphics::MutablePath path;
        path.addRect(area);
        context->fillPath(path, tint);
    };
    UIControlState now = state();
    paint(minimumTrackImageForState(now), left, minimumTrackTint_.value_or(tintColor()));
    paint(maximumTrackImageForState(now), right, maximumTrackTint_.value_or(graphics::Color::gray(0.72)));
    graphics::Rect thumb{{split - 14, middle - 14}, {28, 28}};
    if (auto image = thumbImageForState(now)) {
        auto size = image->size();
        image->drawInContext(*context, {{split - size.width / 2, middle - size.height / 2}, size});
    } else {
        graphics::MutablePath knob;
        knob.addEllipseInRect(thumb);
        context->fillPath(knob, graphics::Color::white());
    }
}

}  // namespace uikit
