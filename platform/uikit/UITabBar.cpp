// The tab bar's buttons, their layout and the taps on them.
#include "uikit/UITabBar.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "graphics/MutablePath.h"
#include "uikit/ImageTint.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIFont.h"
#include "uikit/UITabBarItem.h"

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

void UITabBar::setBackgroundImage(UIImagePtr image) {
    appearancePropertyWasSet(kBackgroundImageKey);
    backgroundImage_ = std::move(image);
    setNeedsDisplay();
}

void UITabBar::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    if (backgroundImage_ && !backgroundImage_->isEmpty()) {
        backgroundImage_->drawInContext(*context, bounds());
    } else {
        graphics::MutablePath fill;
        fill.addRect(rect);
        if (!backgroundColor()) context->fillPath(fill, graphics::Color::gray(0.97));
    }
    graphics::MutablePath hairline;
    hairline.addRect({rect.origin.x, rect.origin.y, rect.width(), 0.5});
    context->fillPath(hairline, graphics::Color::gray(0, 0.3));
}

void UITabBarButton::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context || !item_) return;
    // A disabled tab is the unselected grey faded, so it reads dimmer than
    // the others over a light bar and a dark one alike.
    const graphics::Color ink = !item_->isEnabled() ? graphics::Color::gray(0.57, 0.35)
                                : isSelected()      ? tintColor()
                                                    : graphics::Color::gray(0.57);
    constexpr double kImageSide = 30;
    const graphics::Rect imageBox{rect.origin.x + (rect.width() - kImageSide) / 2, rect.origin.y + 3, kImageSide,
                                  kImageSide};
    if (auto image = isSelected() ? item_->selectedImage() : item_->image()) {
        graphics::Size size = image->size();
        double fit = std::min({1.0, kImageSide / std::max(size.width, 1.0), kImageSide / std::max(size.height, 1.0)});
        size = {size.width * fit, size.height * fit};
        // Icons show in the tab's ink, as template images do.
        if (image->bitmap())
            image = std::make_shared<UIImage>(std::make_shared<graphics::Bitmap>(tintedBitmap(*image->bitmap(), ink)),
                                              image->scale());
        image->drawInContext(*context, {imageBox.origin.x + (kImageSide - size.width) / 2,
                                        imageBox.origin.y + (kImageSide - size.height) / 2, size.width, size.height});
    }
    if (const auto& title = item_->title()) {
        auto lines = NSStringDrawing::layOut(*title, UIFont::systemFontOfSize(10), 0, 1);
        NSStringDrawing::drawLines(*context, lines,
                                   {rect.origin.x, imageBox.origin.y + kImageSide + 1, rect.width(), 14},
                                   NSTextAlignment::Center, ink);
    }
    if (const auto& badge = item_->badgeValue()) {
        auto font = UIFont::systemFontOfSize(13);
        auto lines = NSStringDrawing::layOut(*badge, font, 0, 1);
        double width = std::max(18.0, NSStringDrawing::sizeOfLines(lines).width + 10);
        graphics::Rect pill{imageBox.origin.x + kImageSide - 9, imageBox.origin.y - 2, width, 18};
        graphics::MutablePath shape;
        shape.addRoundedRect(pill, 9);
        context->fillPath(shape, graphics::Color::rgb(1, 0.23, 0.19));
        NSStringDrawing::drawLines(*context, lines,
                                   {pill.origin.x, pill.origin.y + (18 - font->lineHeight()) / 2, pill.width(), 18},
                                   NSTextAlignment::Center, graphics::Color::white());
    }
}

}  // namespace uikit
