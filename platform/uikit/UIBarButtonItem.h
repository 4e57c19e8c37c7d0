// A button on a navigation bar or toolbar: a title, an image, a system item
// or a custom view, with a style and an action. tap() is a person's tap: the
// action runs when the item is enabled. The bar that shows the item makes its
// button (or shows the custom view).
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIAppearance.h"
#include "uikit/UIBarItem.h"
#include "uikit/UIView.h"

namespace uikit {

enum class UIBarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };

enum class UIBarButtonSystemItem {
    Done = 0,
    Cancel = 1,
    Edit = 2,
    Save = 3,
    Add = 4,
    FlexibleSpace = 5,
    FixedSpace = 6,
    Compose = 7,
    Reply = 8,
    Action = 9,
    Organize = 10,
    Bookmarks = 11,
    Search = 12,
    Refresh = 13,
    Stop = 14,
    Camera = 15,
    Trash = 16,
    Play = 17,
    Pause = 18,
    Rewind = 19,
    FastForward = 20,
    Undo = 21,
    Redo = 22,
};

class UIBarButtonItem;
using UIBarButtonItemPtr = std::shared_ptr<UIBarButtonItem>;
class UIBarButtonItemAppearance;

class UIBarButtonItem : public UIBarItem {
public:
    using Action = std::function<void(UIBarButtonItem& sender)>;

    static UIBarButtonItemPtr withTitle(std::optional<std::string> title, UIBarButtonItemStyle style,
                                        Action action = {});
    static UIBarButtonItemPtr withImage(UIImagePtr image, UIBarButtonItemStyle style, Action action = {});
    static UIBarButtonItemPtr withSystemItem(UIBarButtonSystemItem item, Action action = {});
    static UIBarButtonItemPtr withCustomView(UIViewPtr view);

    UIBarButtonItem() = default;

    // Values for every item, or for items inside the given containers
    // (innermost first), applied when their bar enters a window.
    static UIBarButtonItemAppearance appearance();
    template <class... Containers>
    static UIBarButtonItemAppearance appearanceWhenContainedIn();

    UIBarButtonItemStyle style() const { return style_; }
    void setStyle(UIBarButtonItemStyle style);
    // Set only for system items.
    const std::optional<UIBarButtonSystemItem>& systemItem() const { return systemItem_; }
    // What a system item shows: its text ("Done", "Cancel", ...) or the name
    // of its glyph ("+" for add); none for spaces.
    static std::optional<std::string> titleOfSystemItem(UIBarButtonSystemItem item);
    // The title shown: the title, else the system item's.
    std::optional<std::string> displayTitle() const;
    bool isSpace() const;

    const Action& action() const { return action_; }
    void setAction(Action action) { action_ = std::move(action); }
    // A person's tap: runs the action when enabled and there is one.
    bool tap();

    const UIViewPtr& customView() const { return customView_; }
    void setCustomView(UIViewPtr view);
    const std::optional<graphics::Color>& tintColor() const { return tintColor_; }
    void setTintColor(std::optional<graphics::Color> color);
    // Null: the platform's look (none for plain items).
    void setBackgroundImage(UIImagePtr image, UIControlState state, UIBarMetrics metrics);
    UIImagePtr backgroundImageForState(UIControlState state, UIBarMetrics metrics) const;
    // 0: as wide as the content needs.
    double width() const { return width_; }
    void setWidth(double width);

    std::string className() const override { return "UIBarButtonItem"; }

    // The appearance key of the tint colour.
    static constexpr const char* kTintColorKey = "tintColor";

protected:
    // Makes the receiver the system item (with its style), as withSystemItem
    // does, for subclasses built by their own factories.
    void adoptSystemItem(UIBarButtonSystemItem item);

private:
    UIBarButtonItemStyle style_ = UIBarButtonItemStyle::Plain;
    std::optional<UIBarButtonSystemItem> systemItem_;
    Action action_;
    UIViewPtr customView_;
    std::optional<graphics::Color> tintColor_;
    std::map<std::pair<UIControlState, UIBarMetrics>, UIImagePtr> backgroundImages_;
    double width_ = 0;
};

class UIBarButtonItemAppearance {
public:
    explicit UIBarButtonItemAppearance(UIAppearance::Proxy<UIBarButtonItem> proxy) : proxy_(std::move(proxy)) {}
    void setTitleTextAttributes(const TextAttributes& attributes, UIControlState state) const;
    void setTintColor(std::optional<graphics::Color> color) const;

private:
    UIAppearance::Proxy<UIBarButtonItem> proxy_;
};

inline UIBarButtonItemAppearance UIBarButtonItem::appearance() {
    return UIBarButtonItemAppearance(UIAppearance::appearance<UIBarButtonItem>());
}

template <class... Containers>
UIBarButtonItemAppearance UIBarButtonItem::appearanceWhenContainedIn() {
    return UIBarButtonItemAppearance(UIAppearance::appearanceWhenContainedIn<UIBarButtonItem, Containers...>());
}

}  // namespace uikit
