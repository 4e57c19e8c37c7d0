// An item of a tab bar: a title, an image and a selected image, a badge
// value and a tag. The tab bar shows it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UIBarItem.h"

namespace uikit {

class UITabBarItem : public UIBarItem {
public:
    UITabBarItem() = default;
    UITabBarItem(std::optional<std::string> title, UIImagePtr image, int64_t tag);
    UITabBarItem(std::optional<std::string> title, UIImagePtr image, UIImagePtr selectedImage);

    // The image unless set.
    UIImagePtr selectedImage() const { return selectedImage_ ? selectedImage_ : image(); }
    void setSelectedImage(UIImagePtr image);
    // Nothing shows no badge.
    const std::optional<std::string>& badgeValue() const { return badgeValue_; }
    void setBadgeValue(std::optional<std::string> value);

    std::string className() const override { return "UITabBarItem"; }

private:
    UIImagePtr selectedImage_;
    std::optional<std::string> badgeValue_;
};

using UITabBarItemPtr = std::shared_ptr<UITabBarItem>;

}  // namespace uikit
