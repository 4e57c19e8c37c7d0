// The bar along the bottom of a tab bar controller: one button per tab-bar
// item, side by side across the bar's width, with the selected item
// remembered. The buttons are real views, so hit-testing and the screen dump
// find them; a tap on one selects its item and tells the delegate, unless the
// item is disabled. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/UIControl.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIView.h"

namespace uikit {

class UITabBar;

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
    std::string className() const override { return "UITabBarButton"; }

private:
    UITabBarItemPtr item_;
};

class UITabBar : public UIView {
public:
    explicit UITabBar(const graphics::Rect& frame = {});

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
    std::string className() const override { return "UITabBar"; }

private:
    friend class UITabBarButton;
    bool itemTapped(const UITabBarItemPtr& item);

    std::vector<UITabBarItemPtr> items_;
    std::vector<std::shared_ptr<UITabBarButton>> buttons_;
    UITabBarItemPtr selectedItem_;
    std::weak_ptr<UITabBarDelegate> delegate_;
};

using UITabBarPtr = std::shared_ptr<UITabBar>;

}  // namespace uikit
