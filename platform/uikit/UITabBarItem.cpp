#include "uikit/UITabBarItem.h"

namespace uikit {

UITabBarItem::UITabBarItem(std::optional<std::string> title, UIImagePtr image, int64_t tag) {
    setTitle(std::move(title));
    setImage(std::move(image));
    setTag(tag);
}

UITabBarItem::UITabBarItem(std::optional<std::string> title, UIImagePtr image, UIImagePtr selectedImage)
    : selectedImage_(std::move(selectedImage)) {
    setTitle(std::move(title));
    setImage(std::move(image));
}

void UITabBarItem::setSelectedImage(UIImagePtr image) {
    selectedImage_ = std::move(image);
    changed();
}

void UITabBarItem::setBadgeValue(std::optional<std::string> value) {
    badgeValue_ = std::move(value);
    changed();
}

}  // namespace uikit
