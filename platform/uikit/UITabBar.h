// The bar along the bottom of a tab bar controller: one button per tab-bar
// item, side by side across the bar's width, with the selected item
// remembered. The buttons are real views, so hit-testing and the screen dump
// find them; a tap on one selects its item and tells the delegate, unless the
// item is disabled. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/UIAppearance.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIView.h"

namespace uikit {

class UITabBar;
class UITabBarAppearance;

class UITabBarDelegate {
public:
    virtual ~UITabBarDelegate() = default;
    // A person selected the item (not sent for setSelectedItem).
    virtual void tabBarDidSelectItem(UITabBar& tabBar, UITabBarItem& item) {
        (void)tabBar;
        (void)item;
    }
};

// The button that stands for one item in the bar.
class UITabBarButton : public UIControl {
public:
    explicit UITabBarButton(UITabBarItemPtr item) : item_(std::move(item)) {}
    const UITabBarItemPtr& item() const { return item_; }
    // A person's tap: selects the item unless it is disabled.
    bool tap() override;
    // The item's image over its title, in the tint when selected and grey
    // otherwise (lighter when disabled), its badge as a red circle.
    void drawRect(const graphics::Rect& rect) override;
    std::string className() const override { return "UITabBarButton"; }

private:
    UITabBarItemPtr item_;
};

class UITabBar : public UIView {
public:
    // The appearance key of the background image.
    static constexpr const char* kBackgroundImageKey = "backgroundImage";

    explicit UITabBar(const graphics::Rect& frame = {});

    // Values for every tab bar, or for bars inside the given containers
    // (innermost first), applied when a bar enters a window.
    static UITabBarAppearance appearance();
    template <class... Containers>
    static UITabBarAppearance appearanceWhenContainedIn();

    // Drawn across the bar in place of the stock look when set.
    const UIImagePtr& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(UIImagePtr image);

    const std::vector<UITabBarItemPtr>& items() const { return items_; }
    void setItems(std::vector<UITabBarItemPtr> items, bool animated = false);
    // The selected item; none when it is not among the items.
    const UITabBarItemPtr& selectedItem() const { return selectedItem_; }
    void setSelectedItem(UITabBarItemPtr item);

    std::shared_ptr<UITabBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITabBarDelegate>& delegate) { delegate_ = delegate; }

    // The button of an item, in item order.
    const std::vector<std::shared_ptr<UITabBarButton>>& buttons() const { return buttons_; }
    // A person's tap on the item at the index; false when there is none or it
    // is disabled (nothing happens then).
    bool tapItemAtIndex(size_t index);

    void layoutSubviews() override;
    // The light bar with a hairline along its top.
    void drawRect(const graphics::Rect& rect) override;
    std::string className() const override { return "UITabBar"; }

private:
    friend class UITabBarButton;
    bool itemTapped(const UITabBarItemPtr& item);

    std::vector<UITabBarItemPtr> items_;
    std::vector<std::shared_ptr<UITabBarButton>> buttons_;
    UITabBarItemPtr selectedItem_;
    std::weak_ptr<UITabBarDelegate> delegate_;
    UIImagePtr backgroundImage_;
};

using UITabBarPtr = std::shared_ptr<UITabBar>;

class UITabBarAppearance {
public:
    explicit UITabBarAppearance(UIAppearance::Proxy<UITabBar> proxy) : proxy_(std::move(proxy)) {}
    void setBackgroundImage(UIImagePtr image) const {
        proxy_.set(UITabBar::kBackgroundImageKey, [image](UITabBar& bar) { bar.setBackgroundImage(image); });
    }

private:
    UIAppearance::Proxy<UITabBar> proxy_;
};

inline UITabBarAppearance UITabBar::appearance() { return UITabBarAppearance(UIAppearance::appearance<UITabBar>()); }

template <class... Containers>
UITabBarAppearance UITabBar::appearanceWhenContainedIn() {
    return UITabBarAppearance(UIAppearance::appearanceWhenContainedIn<UITabBar, Containers...>());
}

}  // namespace uikit
