// The bar at the top of a navigation stack: a view that shows the top
// navigation item (its title or title view, its left and right buttons) and a
// back button for the item below it. The back button and the item buttons are
// real subviews (UIButton, or the item's custom view), made when the bar lays
// out; a tap on the back button asks the delegate, then pops the top item.
// The back button keeps clear of the other items and the title: a back
// title with no room beside them shows as "Back", else as the arrow alone.
// Look: bar tint, background image per bar metrics, shadow image,
// translucency and title text attributes, all appearance properties (see
// UIAppearance): values registered for bars, or for bars inside containers,
// apply when the bar enters a window, and a value set on the bar itself wins.
// The bar applies the appearance values of bar button items to its items.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "uikit/NSAttributedString.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIView.h"

namespace uikit {

enum class UIBarStyle { Default = 0, Black = 1 };

class UINavigationBar;
using UINavigationBarPtr = std::shared_ptr<UINavigationBar>;
class UINavigationBarAppearance;

class UINavigationBarDelegate {
public:
    virtual ~UINavigationBarDelegate() = default;
    // Asked before the back button pops the top item; NO keeps it.
    virtual bool navigationBarShouldPopItem(UINavigationBar& bar, UINavigationItem& item) {
        (void)bar, (void)item;
        return true;
    }
};

class UINavigationBar : public UIView {
public:
    static constexpr double kHeight = 44;
    // Appearance keys.
    static constexpr const char* kBarTintColorKey = "barTintColor";
    // The key UIView's own background colour setter marks.
    static constexpr const char* kBackgroundColorKey = "backgroundColor";
    static constexpr const char* kShadowImageKey = "shadowImage";
    static constexpr const char* kTranslucentKey = "translucent";
    static constexpr const char* kTitleTextAttributesKey = "titleTextAttributes";
    static std::string backgroundImageKey(UIBarMetrics metrics);

    explicit UINavigationBar(const graphics::Rect& frame = {});

    static UINavigationBarAppearance appearance();
    // Containers innermost first.
    template <class... Containers>
    static UINavigationBarAppearance appearanceWhenContainedIn();

    // Items, bottom first; the last is the top item.
    const std::vector<UINavigationItemPtr>& items() const { return items_; }
    void setItems(std::vector<UINavigationItemPtr> items, bool animated);
    void pushNavigationItem(UINavigationItemPtr item, bool animated);
    // The popped item, or null when there is none.
    UINavigationItemPtr popNavigationItemAnimated(bool animated);
    UINavigationItemPtr topItem() const;
    // The item below the top one, or null.
    UINavigationItemPtr backItem() const;
    // Whether the last change of the items asked for animation.
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    std::shared_ptr<UINavigationBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UINavigationBarDelegate>& delegate) { delegate_ = delegate; }

    // Look.
    UIBarStyle barStyle() const { return barStyle_; }
    void setBarStyle(UIBarStyle style);
    const std::optional<graphics::Color>& barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::optional<graphics::Color> color);
    void setBackgroundImage(UIImagePtr image, UIBarMetrics metrics);
    UIImagePtr backgroundImageForBarMetrics(UIBarMetrics metrics) const;
    // Null: the platform's hairline; an empty image: none.
    const UIImagePtr& shadowImage() const { return shadowImage_; }
    void setShadowImage(UIImagePtr image);
    // True unless set.
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent);
    const TextAttributes& titleTextAttributes() const { return titleTextAttributes_; }
    void setTitleTextAttributes(const TextAttributes& attributes);
    // The colour the bar's background shows as a whole (a background image's
    // average), for what is drawn on the bar to contrast with.
    graphics::Color shownBackgroundColor() const;

    // The parts the bar shows, as of its last layout.
    UIButtonPtr backButton() const { return backButton_; }
    bool isBackButtonShown() const;
    // The back button's title: the back item's back button title, else its
    // title, else "Back" (shown shorter where the bar has no room for it).
    std::string backButtonTitle() const;
    UILabelPtr titleLabel() const { return titleLabel_; }
    // The view showing an item of the top navigation item, or null.
    UIViewPtr viewForBarButtonItem(const UIBarButtonItemPtr& item) const;
    // A person's tap on the back button; false when none is shown.
    bool tapBackButton();

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }
    void layoutSubviews() override;
    void didMoveToWindow() override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UINavigationBar"; }

private:
    void itemsChanged(bool animated);
    void backButtonTapped();
    UIViewPtr makeViewForItem(const UIBarButtonItemPtr& item);
    void updateButton(UIButton& button, const UIBarButtonItem& item) const;
    void applyAppearanceToItems();
    std::vector<UIBarButtonItemPtr> shownItems() const;

    std::vector<UINavigationItemPtr> items_;
    bool lastChangeAnimated_ = false;
    std::weak_ptr<UINavigationBarDelegate> delegate_;
    UIBarStyle barStyle_ = UIBarStyle::Default;
    std::optional<graphics::Color> barTintColor_;
    std::map<UIBarMetrics, UIImagePtr> backgroundImages_;
    UIImagePtr shadowImage_;
    bool translucent_ = true;
    TextAttributes titleTextAttributes_;
    UIButtonPtr backButton_;
    UILabelPtr titleLabel_;
    UIViewPtr shownTitleView_;
    std::vector<std::pair<UIBarButtonItemPtr, UIViewPtr>> itemViews_;
    // Items that have had the bar button items' appearance values, while in
    // the present window.
    std::vector<std::weak_ptr<UIBarButtonItem>> appearanceApplied_;
};

class UINavigationBarAppearance {
public:
    explicit UINavigationBarAppearance(UIAppearance::Proxy<UINavigationBar> proxy) : proxy_(std::move(proxy)) {}
    void setBarTintColor(std::optional<graphics::Color> color) const;
    void setBackgroundColor(std::optional<graphics::Color> color) const;
    void setBackgroundImage(UIImagePtr image, UIBarMetrics metrics) const;
    void setShadowImage(UIImagePtr image) const;
    void setTranslucent(bool translucent) const;
    void setTitleTextAttributes(const TextAttributes& attributes) const;

private:
    UIAppearance::Proxy<UINavigationBar> proxy_;
};

inline UINavigationBarAppearance UINavigationBar::appearance() {
    return UINavigationBarAppearance(UIAppearance::appearance<UINavigationBar>());
}

template <class... Containers>
UINavigationBarAppearance UINavigationBar::appearanceWhenContainedIn() {
    return UINavigationBarAppearance(UIAppearance::appearanceWhenContainedIn<UINavigationBar, Containers...>());
}

}  // namespace uikit
