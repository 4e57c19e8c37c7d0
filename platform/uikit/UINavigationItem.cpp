#include "uikit/UINavigationItem.h"

namespace uikit {

void UINavigationItem::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    changed();
}

void UINavigationItem::setTitleView(UIViewPtr view) {
    titleView_ = std::move(view);
    changed();
}

void UINavigationItem::setPrompt(std::optional<std::string> prompt) {
    prompt_ = std::move(prompt);
    changed();
}

UIBarButtonItemPtr UINavigationItem::leftBarButtonItem() const {
    return leftItems_.empty() ? nullptr : leftItems_.front();
}

void UINavigationItem::setLeftBarButtonItem(UIBarButtonItemPtr item, bool animated) {
    std::vector<UIBarButtonItemPtr> items;
    if (item) items.push_back(std::move(item));
    setLeftBarButtonItems(std::move(items), animated);
}

void UINavigationItem::setLeftBarButtonItems(std::vector<UIBarButtonItemPtr> items, bool animated) {
    std::erase(items, nullptr);
    leftItems_ = std::move(items);
    lastChangeAnimated_ = animated;
    changed();
}

UIBarButtonItemPtr UINavigationItem::rightBarButtonItem() const {
    return rightItems_.empty() ? nullptr : rightItems_.front();
}

void UINavigationItem::setRightBarButtonItem(UIBarButtonItemPtr item, bool animated) {
    std::vector<UIBarButtonItemPtr> items;
    if (item) items.push_back(std::move(item));
    setRightBarButtonItems(std::move(items), animated);
}

void UINavigationItem::setRightBarButtonItems(std::vector<UIBarButtonItemPtr> items, bool animated) {
    std::erase(items, nullptr);
    rightItems_ = std::move(items);
    lastChangeAnimated_ = animated;
    changed();
}

void UINavigationItem::setBackBarButtonItem(UIBarButtonItemPtr item) {
    backItem_ = std::move(item);
    changed();
}

void UINavigationItem::setHidesBackButton(bool hides, bool animated) {
    hidesBackButton_ = hides;
    lastChangeAnimated_ = animated;
    changed();
}

void UINavigationItem::setLeftItemsSupplementBackButton(bool supplement) {
    leftItemsSupplementBackButton_ = supplement;
    changed();
}

void UINavigationItem::changed() {
    if (auto host = host_.lock()) host->setNeedsLayout();
}

}  // namespace uikit
