#include "uikit/UIBarItem.h"

namespace uikit {

std::string UIBarItem::titleTextAttributesKey(UIControlState state) {
    return "titleTextAttributes:" + std::to_string(state);
}

void UIBarItem::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    changed();
}

void UIBarItem::setImage(UIImagePtr image) {
    image_ = std::move(image);
    changed();
}

void UIBarItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

void UIBarItem::setTitleTextAttributes(const TextAttributes& attributes, UIControlState state) {
    appearancePropertyWasSet(titleTextAttributesKey(state));
    titleTextAttributes_[state] = attributes;
    changed();
}

TextAttributes UIBarItem::titleTextAttributesForState(UIControlState state) const {
    if (auto it = titleTextAttributes_.find(state); it != titleTextAttributes_.end()) return it->second;
    return {};
}

void UIBarItem::changed() {
    if (auto host = host_.lock()) host->setNeedsLayout();
}

}  // namespace uikit
