#include "uikit/UIBarButtonItem.h"

#include "foundation/MainThreadChecker.h"

namespace uikit {

UIBarButtonItemPtr UIBarButtonItem::withTitle(std::optional<std::string> title, UIBarButtonItemStyle style,
                                              Action action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->setTitle(std::move(title));
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

UIBarButtonItemPtr UIBarButtonItem::withImage(UIImagePtr image, UIBarButtonItemStyle style, Action action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->setImage(std::move(image));
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

UIBarButtonItemPtr UIBarButtonItem::withSystemItem(UIBarButtonSystemItem systemItem, Action action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->adoptSystemItem(systemItem);
    item->action_ = std::move(action);
    return item;
}

void UIBarButtonItem::adoptSystemItem(UIBarButtonSystemItem systemItem) {
    systemItem_ = systemItem;
    style_ = systemItem == UIBarButtonSystemItem::Done ? UIBarButtonItemStyle::Done : UIBarButtonItemStyle::Plain;
}

UIBarButtonItemPtr UIBarButtonItem::withCustomView(UIViewPtr view) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

void UIBarButtonItem::setStyle(UIBarButtonItemStyle style) {
    style_ = style;
    changed();
}

std::optional<std::string> UIBarButtonItem::titleOfSystemItem(UIBarButtonSystemItem item) {
    switch (item) {
        case UIBarButtonSystemItem::Done: return "Done";
        case UIBarButtonSystemItem::Cancel: return "Cancel";
        case UIBarButtonSystemItem::Edit: return "Edit";
        case UIBarButtonSystemItem::Save: return "Save";
        case UIBarButtonSystemItem::Undo: return "Undo";
        case UIBarButtonSystemItem::Redo: return "Redo";
        case UIBarButtonSystemItem::Add: return "+";
        case UIBarButtonSystemItem::Compose: return "Compose";
        case UIBarButtonSystemItem::Reply: return "Reply";
        case UIBarButtonSystemItem::Action: return "Share";
        case UIBarButtonSystemItem::Organize: return "Organize";
        case UIBarButtonSystemItem::Bookmarks: return "Bookmarks";
        case UIBarButtonSystemItem::Search: return "Search";
        case UIBarButtonSystemItem::Refresh: return "Refresh";
        case UIBarButtonSystemItem::Stop: return "Stop";
        case UIBarButtonSystemItem::Camera: return "Camera";
        case UIBarButtonSystemItem::Trash: return "Trash";
        case UIBarButtonSystemItem::Play: return "Play";
        case UIBarButtonSystemItem::Pause: return "Pause";
        case UIBarButtonSystemItem::Rewind: return "Rewind";
        case UIBarButtonSystemItem::FastForward: return "Fast Forward";
        case UIBarButtonSystemItem::FlexibleSpace:
        case UIBarButtonSystemItem::FixedSpace: return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> UIBarButtonItem::displayTitle() const {
    if (title()) return title();
    if (systemItem_) return titleOfSystemItem(*systemItem_);
    return std::nullopt;
}

bool UIBarButtonItem::isSpace() const {
    return systemItem_ == UIBarButtonSystemItem::FlexibleSpace || systemItem_ == UIBarButtonSystemItem::FixedSpace;
}

bool UIBarButtonItem::tap() {
    foundation::requireMainThread("UIBarButtonItem must be used from the main thread only");
    if (!isEnabled() || !action_) return false;
    // Kept alive: the action may take the item off its bar.
    auto self = weak_from_this().lock();
    auto action = action_;
    action(*this);
    return true;
}

void UIBarButtonItem::setCustomView(UIViewPtr view) {
    customView_ = std::move(view);
    changed();
}

void UIBarButtonItem::setTintColor(std::optional<graphics::Color> color) {
    appearancePropertyWasSet(kTintColorKey);
    tintColor_ = std::move(color);
    changed();
}

void UIBarButtonItem::setBackgroundImage(UIImagePtr image, UIControlState state, UIBarMetrics metrics) {
    if (image) backgroundImages_[{state, metrics}] = std::move(image);
    else backgroundImages_.erase({state, metrics});
    changed();
}

UIImagePtr UIBarButtonItem::backgroundImageForState(UIControlState state, UIBarMetrics metrics) const {
    auto it = backgroundImages_.find({state, metrics});
    return it == backgroundImages_.end() ? nullptr : it->second;
}

void UIBarButtonItem::setWidth(double width) {
    width_ = width;
    changed();
}

void UIBarButtonItemAppearance::setTitleTextAttributes(const TextAttributes& attributes, UIControlState state) const {
    proxy_.set(UIBarItem::titleTextAttributesKey(state),
               [attributes, state](UIBarButtonItem& item) { item.setTitleTextAttributes(attributes, state); });
}

void UIBarButtonItemAppearance::setTintColor(std::optional<graphics::Color> color) const {
    proxy_.set(UIBarButtonItem::kTintColorKey, [color](UIBarButtonItem& item) { item.setTintColor(color); });
}

}  // namespace uikit
