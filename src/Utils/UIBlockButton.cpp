#include "Utils/UIBlockButton.h"

void UIBlockButton::handleControlEvent(uikit::UIControlEvents events, ActionBlock block) {
    actionBlock_ = std::move(block);
    // One registration for the union of the events, as a target and action
    // added again for more events is on the platform: an event never runs
    // the block twice.
    if (target_) removeTarget(*target_);
    targetEvents_ |= events;
    target_ = addTarget(
        [](uikit::UIControl& sender) {
            if (auto* button = dynamic_cast<UIBlockButton*>(&sender)) button->callActionBlock(sender);
        }, targetEvents_);
}

void UIBlockButton::callActionBlock(uikit::UIControl& sender) {
    if (actionBlock_) actionBlock_(sender);
}
