// A bar of items along the edge of a screen: bar button items laid out from
// the left, flexible spaces sharing the room left over, fixed spaces their
// width. An item with a custom view shows that view; any other item shows a
// button made for it, whose tap is the item's tap. The items' views are real
// subviews, made when the bar lays out.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "uikit/UIBarButtonItem.h"
#include "uikit/UIView.h"

namespace uikit {

class UIToolbar;
using UIToolbarPtr = std::shared_ptr<UIToolbar>;

class UIToolbar : public UIView {
public:
    static constexpr double kHeight = 44;

    explicit UIToolbar(const graphics::Rect& frame = {});

    const std::vector<UIBarButtonItemPtr>& items() const { return items_; }
    void setItems(std::vector<UIBarButtonItemPtr> items, bool animated = false);
    // The view showing an item, as of the last layout; null for a space or
    // an item not on the bar.
    UIViewPtr viewForBarButtonItem(const UIBarButtonItemPtr& item) const;

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }
    void layoutSubviews() override;

    std::string className() const override { return "UIToolbar"; }

private:
    std::vector<UIBarButtonItemPtr> items_;
    std::vector<std::pair<UIBarButtonItemPtr, UIViewPtr>> itemViews_;
};

}  // namespace uikit
