#include "uikit/UIControl.h"

#include "foundation/MainThreadChecker.h"

namespace uikit {

namespace {
void requireMainForControl() { foundation::requireMainThread("UIControl must be used from the main thread only"); }
}  // namespace

UIControl::ActionId UIControl::addTarget(Action action, UIControlEvents events) {
    requireMainForControl();
    ActionId id = nextActionId_++;
    actions_.push_back({id, events, std::make_shared<Action>(std::move(action))});
    return id;
}

void UIControl::removeTarget(ActionId id) {
    std::erase_if(actions_, [id](const Registration& r) { return r.id == id; });
}

void UIControl::removeTargetsForControlEvents(UIControlEvents events) {
    std::erase_if(actions_, [events](const Registration& r) { return (r.events & events) != 0; });
}

UIControlEvents UIControl::allControlEvents() const {
    UIControlEvents all = 0;
    for (const auto& r : actions_) all |= r.events;
    return all;
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    requireMainForControl();
    // A copy: actions may change the registrations while they run.
    std::vector<std::shared_ptr<Action>> due;
    for (const auto& r : actions_) {
        if ((r.events & events) != 0 && *r.action) due.push_back(r.action);
    }
    for (const auto& action : due) (*action)(*this);
}

void UIControl::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    stateDidChange();
    setNeedsDisplay();
}

void UIControl::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    stateDidChange();
    setNeedsDisplay();
}

void UIControl::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    stateDidChange();
    setNeedsDisplay();
}

UIControlState UIControl::state() const {
    UIControlState state = UIControlStateNormal;
    if (highlighted_) state |= UIControlStateHighlighted;
    if (!enabled_) state |= UIControlStateDisabled;
    if (selected_) state |= UIControlStateSelected;
    return state;
}

void UIControl::setContentHorizontalAlignment(UIControlContentHorizontalAlignment alignment) {
    horizontalAlignment_ = alignment;
    setNeedsLayout();
}

void UIControl::setContentVerticalAlignment(UIControlContentVerticalAlignment alignment) {
    verticalAlignment_ = alignment;
    setNeedsLayout();
}

bool UIControl::acceptsTouches() const {
    return enabled_ && isUserInteractionEnabled() && !isHidden() && alpha() >= 0.01;
}

bool UIControl::tap() {
    requireMainForControl();
    if (!acceptsTouches()) return false;
    // Kept alive: an action may take the control off the screen.
    auto self = weak_from_this().lock();
    setHighlighted(true);
    sendActionsForControlEvents(UIControlEventTouchDown);
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchUpInside);
    didTap();
    return true;
}

}  // namespace uikit
