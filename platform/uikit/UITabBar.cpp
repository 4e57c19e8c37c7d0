// The tab bar's buttons, their layout and the taps on them.
#include "uikit/UITabBar.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"

namespace uikit {

bool UITabBarButton::tap() {
    foundation::requireMainThread("UITabBar is used from the main thread only");
    if (isHidden() || !isUserInteractionEnabled() || !item_ || !item_->isEnabled()) return false;
    auto bar = std::dynamic_pointer_cast<UITabBar>(superview());
    if (!bar) return false;
    return bar->itemTapped(item_);
}

UITabBar::UITabBar(const graphics::Rect& frame) : UIView(frame) {}

void UITabBar::setItems(std::vector<UITabBarItemPtr> items, bool) {
    foundation::requireMainThread("UITabBar is used from the main thread only");
    std::erase(items, nullptr);
    for (const auto& button : buttons_) button->removeFromSuperview();
    buttons_.clear();
    items_ = std::move(items);
    for (const auto& item : items_) {
        auto button = std::make_shared<UITabBarButton>(item);
        addSubview(button);
        buttons_.push_back(std::move(button));
    }
    if (selectedItem_ && std::find(items_.begin(), items_.end(), selectedItem_) == items_.end()) selectedItem_ = nullptr;
    setNeedsLayout();
    layoutSubviews();
}

void UITabBar::setSelectedItem(UITabBarItemPtr item) {
    if (item && std::find(items_.begin(), items_.end(), item) == items_.end()) return;
    selectedItem_ = std::move(item);
    for (const auto& button : buttons_) button->setSelected(button->item() == selectedItem_);
}

bool UITabBar::tapItemAtIndex(size_t index) {
    if (index >= buttons_.size()) return false;
    return buttons_[index]->tap();
}

bool UITabBar::itemTapped(const UITabBarItemPtr& item) {
    auto keepAlive = std::static_pointer_cast<UITabBar>(shared_from_this());
    setSelectedItem(item);
    if (auto delegate = delegate_.lock()) delegate->tabBarDidSelectItem(*this, *item);
    return true;
}

void UITabBar::layoutSubviews() {
    if (buttons_.empty()) return;
    const graphics::Rect b = bounds();
    const double width = b.width() / static_cast<double>(buttons_.size());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setFrame({width * static_cast<double>(i), 0, width, b.height()});
    }
}

}  // namespace uikit
