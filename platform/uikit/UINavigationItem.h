// What a navigation bar shows for one controller: a title or a title view,
// the buttons on the left and on the right (the first right item is the
// rightmost), the item the next screen's back button shows, and whether the
// back button is hidden. The bar showing the item lays out again when it
// changes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIView.h"

namespace uikit {

class UINavigationItem;
using UINavigationItemPtr = std::shared_ptr<UINavigationItem>;

class UINavigationItem : public foundation::Object {
public:
    UINavigationItem() = default;
    explicit UINavigationItem(std::optional<std::string> title) : title_(std::move(title)) {}

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const UIViewPtr& titleView() const { return titleView_; }
    void setTitleView(UIViewPtr view);
    const std::optional<std::string>& prompt() const { return prompt_; }
    void setPrompt(std::optional<std::string> prompt);

    // The first left item, or null.
    UIBarButtonItemPtr leftBarButtonItem() const;
    void setLeftBarButtonItem(UIBarButtonItemPtr item, bool animated = false);
    const std::vector<UIBarButtonItemPtr>& leftBarButtonItems() const { return leftItems_; }
    void setLeftBarButtonItems(std::vector<UIBarButtonItemPtr> items, bool animated = false);
    // The first (rightmost) right item, or null.
    UIBarButtonItemPtr rightBarButtonItem() const;
    void setRightBarButtonItem(UIBarButtonItemPtr item, bool animated = false);
    const std::vector<UIBarButtonItemPtr>& rightBarButtonItems() const { return rightItems_; }
    void setRightBarButtonItems(std::vector<UIBarButtonItemPtr> items, bool animated = false);
    // Whether the last change of the items asked for animation.
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    // What the back button shows when this item is below the top one.
    const UIBarButtonItemPtr& backBarButtonItem() const { return backItem_; }
    void setBackBarButtonItem(UIBarButtonItemPtr item);
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides, bool animated = false);
    bool leftItemsSupplementBackButton() const { return leftItemsSupplementBackButton_; }
    void setLeftItemsSupplementBackButton(bool supplement);

    // The bar showing the item (set by the bar).
    void setHostView(const std::shared_ptr<UIView>& view) { host_ = view; }

    std::string className() const override { return "UINavigationItem"; }

private:
    void changed();

    std::optional<std::string> title_;
    UIViewPtr titleView_;
    std::optional<std::string> prompt_;
    std::vector<UIBarButtonItemPtr> leftItems_;
    std::vector<UIBarButtonItemPtr> rightItems_;
    bool lastChangeAnimated_ = false;
    UIBarButtonItemPtr backItem_;
    bool hidesBackButton_ = false;
    bool leftItemsSupplementBackButton_ = false;
    std::weak_ptr<UIView> host_;
};

}  // namespace uikit
