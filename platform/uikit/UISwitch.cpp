#include "uikit/UISwitch.h"

#include "foundation/MainThreadChecker.h"
#include "graphics/MutablePath.h"

namespace uikit {

UISwitch::UISwitch(const graphics::Rect& frame) : UIControl(frame) { setFrame(frame); }

void UISwitch::setFrame(const graphics::Rect& frame) { UIControl::setFrame({frame.origin, kSize}); }

void UISwitch::setOn(bool on, bool animated) {
    lastChangeAnimated_ = animated;
    if (on_ == on) return;
    on_ = on;
    setNeedsDisplay();
}

void UISwitch::setOnTintColor(std::optional<graphics::Color> color) {
    onTintColor_ = std::move(color);
    setNeedsDisplay();
}

bool UISwitch::tap() {
    foundation::requireMainThread("UISwitch must be used from the main thread only");
    if (!acceptsTouches()) return false;
    // Kept alive: an action may take the switch off the screen.
    auto self = weak_from_this().lock();
    setHighlighted(true);
    sendActionsForControlEvents(UIControlEventTouchDown);
    setHighlighted(false);
    didTap();
    sendActionsForControlEvents(UIControlEventTouchUpInside);
    return true;
}

void UISwitch::didTap() {
    setOn(!on_, true);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISwitch::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    // A pill: a circle at each end joined by a rectangle.
    double side = rect.size.height;
    graphics::MutablePath track;
    track.addEllipseInRect({rect.origin, {side, side}});
    track.addEllipseInRect({{rect.origin.x + rect.size.width - side, rect.origin.y}, {side, side}});
    track.addRect({{rect.origin.x + side / 2, rect.origin.y}, {rect.size.width - side, side}});
    graphics::Color green = graphics::Color::rgb(0.3, 0.85, 0.39);
    context->fillPath(track, on_ ? onTintColor_.value_or(green) : graphics::Color::gray(0.9));
    graphics::MutablePath thumb;
    double x = on_ ? rect.origin.x + rect.size.width - rect.size.height : rect.origin.x;
    thumb.addEllipseInRect({{x + 2, rect.origin.y + 2}, {rect.size.height - 4, rect.size.height - 4}});
    context->fillPath(thumb, graphics::Color::white());
}

}  // namespace uikit
