#include "uikit/UIToolbar.h"

#include <algorithm>

#include "uikit/UIButton.h"
#include "uikit/UIFont.h"

namespace uikit {

namespace {

constexpr double kToolbarMargin = 8;
constexpr double kToolbarItemSpacing = 8;
constexpr double kToolbarButtonFontSize = 17;

}  // namespace

UIToolbar::UIToolbar(const graphics::Rect& frame) : UIView(frame) {}

void UIToolbar::setItems(std::vector<UIBarButtonItemPtr> items, bool animated) {
    (void)animated;
    items_ = std::move(items);
    setNeedsLayout();
}

UIViewPtr UIToolbar::viewForBarButtonItem(const UIBarButtonItemPtr& item) const {
    for (const auto& [shown, view] : itemViews_)
        if (shown == item) return view;
    return nullptr;
}

void UIToolbar::layoutSubviews() {
    auto self = std::static_pointer_cast<UIToolbar>(weak_from_this().lock());
    if (!self) return;
    std::vector<std::pair<UIBarButtonItemPtr, UIViewPtr>> views;
    for (const auto& item : items_) {
        if (!item) continue;
        item->setHostView(self);
        if (item->isSpace()) continue;
        UIViewPtr view = item->customView() ? item->customView() : viewForBarButtonItem(item);
        if (!view) {
            auto button = UIButton::buttonWithType(UIButtonType::System);
            std::weak_ptr<UIBarButtonItem> weakItem = item;
            button->addTarget(
                [weakItem](UIControl&) {
                    if (auto tapped = weakItem.lock()) tapped->tap();
                },
                UIControlEventTouchUpInside);
            view = button;
        }
        if (auto* button = dynamic_cast<UIButton*>(view.get()); button && !item->customView()) {
            button->titleLabel()->setFont(UIFont::systemFontOfSize(kToolbarButtonFontSize));
            button->setTitle(item->image() ? std::nullopt : item->displayTitle(), UIControlStateNormal);
            button->setImage(item->image(), UIControlStateNormal);
            button->setTintColor(item->tintColor());
            button->setEnabled(item->isEnabled());
        }
        views.emplace_back(item, view);
    }
    for (const auto& [item, view] : itemViews_) {
        const bool kept = std::any_of(views.begin(), views.end(), [&](const auto& entry) { return entry.second == view; });
        if (!kept && view->superview().get() == this) view->removeFromSuperview();
    }
    itemViews_ = std::move(views);

    // Widths first, so that flexible spaces can share what is left.
    const graphics::Rect area = bounds();
    std::vector<double> widths;
    double used = 0;
    int flexible = 0;
    for (const auto& item : items_) {
        if (!item) {
            widths.push_back(0);
            continue;
        }
        double width = 0;
        if (item->systemItem() == UIBarButtonSystemItem::FlexibleSpace) {
            ++flexible;
        } else if (item->isSpace()) {
            width = item->width();
        } else if (auto view = viewForBarButtonItem(item)) {
            width = item->customView() ? view->frame().size.width : view->sizeThatFits({0, 0}).width;
            if (!item->customView() && item->width() > 0) width = item->width();
        }
        widths.push_back(width);
        used += width;
    }
    const double spacing = items_.size() > 1 ? kToolbarItemSpacing * static_cast<double>(items_.size() - 1) : 0;
    const double room = std::max(0.0, area.size.width - 2 * kToolbarMargin - used - spacing);
    const double share = flexible > 0 ? room / flexible : 0;
    double x = area.origin.x + kToolbarMargin;
    for (size_t i = 0; i < items_.size(); ++i) {
        const auto& item = items_[i];
        if (!item) continue;
        if (item->systemItem() == UIBarButtonSystemItem::FlexibleSpace) {
            x += share + kToolbarItemSpacing;
            continue;
        }
        if (auto view = viewForBarButtonItem(item)) {
            const double height = item->customView() ? view->frame().size.height : view->sizeThatFits({0, 0}).height;
            view->setFrame({{x, area.origin.y + (area.size.height - height) / 2}, {widths[i], height}});
            if (view->superview().get() != this) addSubview(view);
        }
        x += widths[i] + kToolbarItemSpacing;
    }
}

}  // namespace uikit
