#include "uikit/UINavigationBar.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "graphics/MutablePath.h"

namespace uikit {

namespace {
constexpr double kBarMargin = 8;
constexpr double kItemSpacing = 8;
constexpr double kTitleFontSize = 17;
constexpr double kButtonFontSize = 17;
constexpr const char* kBackArrow = "\xE2\x80\xB9 ";  // "‹ "
constexpr const char* kBackArrowAlone = "\xE2\x80\xB9";
}  // namespace

std::string UINavigationBar::backgroundImageKey(UIBarMetrics metrics) {
    return "backgroundImage:" + std::to_string(static_cast<int>(metrics));
}

UINavigationBar::UINavigationBar(const graphics::Rect& frame) : UIView(frame) {}

void UINavigationBar::setItems(std::vector<UINavigationItemPtr> items, bool animated) {
    foundation::requireMainThread("UINavigationBar must be used from the main thread only");
    std::erase(items, nullptr);
    items_ = std::move(items);
    itemsChanged(animated);
}

void UINavigationBar::pushNavigationItem(UINavigationItemPtr item, bool animated) {
    foundation::requireMainThread("UINavigationBar must be used from the main thread only");
    if (!item) return;
    items_.push_back(std::move(item));
    itemsChanged(animated);
}

UINavigationItemPtr UINavigationBar::popNavigationItemAnimated(bool animated) {
    foundation::requireMainThread("UINavigationBar must be used from the main thread only");
    if (items_.empty()) return nullptr;
    auto popped = items_.back();
    items_.pop_back();
    itemsChanged(animated);
    return popped;
}

UINavigationItemPtr UINavigationBar::topItem() const { return items_.empty() ? nullptr : items_.back(); }

UINavigationItemPtr UINavigationBar::backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void UINavigationBar::itemsChanged(bool animated) {
    lastChangeAnimated_ = animated;
    setNeedsLayout();
    setNeedsDisplay();
    if (window()) applyAppearanceToItems();
}

void UINavigationBar::setBarStyle(UIBarStyle style) {
    barStyle_ = style;
    setNeedsDisplay();
}

void UINavigationBar::setBarTintColor(std::optional<graphics::Color> color) {
    appearancePropertyWasSet(kBarTintColorKey);
    barTintColor_ = std::move(color);
    setNeedsDisplay();
}

void UINavigationBar::setBackgroundImage(UIImagePtr image, UIBarMetrics metrics) {
    appearancePropertyWasSet(backgroundImageKey(metrics));
    if (image) backgroundImages_[metrics] = std::move(image);
    else backgroundImages_.erase(metrics);
    setNeedsDisplay();
}

UIImagePtr UINavigationBar::backgroundImageForBarMetrics(UIBarMetrics metrics) const {
    auto it = backgroundImages_.find(metrics);
    return it == backgroundImages_.end() ? nullptr : it->second;
}

void UINavigationBar::setShadowImage(UIImagePtr image) {
    appearancePropertyWasSet(kShadowImageKey);
    shadowImage_ = std::move(image);
    setNeedsDisplay();
}

void UINavigationBar::setTranslucent(bool translucent) {
    appearancePropertyWasSet(kTranslucentKey);
    translucent_ = translucent;
    setNeedsDisplay();
}

void UINavigationBar::setTitleTextAttributes(const TextAttributes& attributes) {
    appearancePropertyWasSet(kTitleTextAttributesKey);
    titleTextAttributes_ = attributes;
    setNeedsLayout();
    setNeedsDisplay();
}

bool UINavigationBar::isBackButtonShown() const {
    auto top = topItem();
    if (!top || !backItem() || top->hidesBackButton()) return false;
    return top->leftBarButtonItems().empty() || top->leftItemsSupplementBackButton();
}

std::string UINavigationBar::backButtonTitle() const {
    auto back = backItem();
    if (!back) return "Back";
    if (const auto& item = back->backBarButtonItem(); item && item->title()) return *item->title();
    if (back->title() && !back->title()->empty()) return *back->title();
    return "Back";
}

UIViewPtr UINavigationBar::viewForBarButtonItem(const UIBarButtonItemPtr& item) const {
    for (const auto& [shown, view] : itemViews_) {
        if (shown == item) return view;
    }
    return nullptr;
}

bool UINavigationBar::tapBackButton() {
    layoutIfNeeded();
    if (!isBackButtonShown() || !backButton_) return false;
    return backButton_->tap();
}

void UINavigationBar::backButtonTapped() {
    auto top = topItem();
    if (!top) return;
    // Kept alive: the delegate may take the bar off the screen.
    auto self = weak_from_this().lock();
    if (auto delegate = delegate_.lock(); delegate && !delegate->navigationBarShouldPopItem(*this, *top)) return;
    popNavigationItemAnimated(true);
}

void UINavigationBar::updateButton(UIButton& button, const UIBarButtonItem& item) const {
    TextAttributes attributes = item.titleTextAttributesForState(UIControlStateNormal);
    UIFontPtr font = attributes.font;
    if (!font) {
        font = item.style() == UIBarButtonItemStyle::Done ? UIFont::boldSystemFontOfSize(kButtonFontSize)
                                                          : UIFont::systemFontOfSize(kButtonFontSize);
    }
    button.titleLabel()->setFont(font);
    button.setTitle(item.image() ? std::nullopt : item.displayTitle(), UIControlStateNormal);
    button.setImage(item.image(), UIControlStateNormal);
    button.setTitleColor(attributes.foregroundColor, UIControlStateNormal);
    TextAttributes disabled = item.titleTextAttributesForState(UIControlStateDisabled);
    button.setTitleColor(disabled.foregroundColor, UIControlStateDisabled);
    button.setTintColor(item.tintColor());
    button.setBackgroundImage(item.backgroundImageForState(UIControlStateNormal, UIBarMetrics::Default),
                              UIControlStateNormal);
    button.setEnabled(item.isEnabled());
    button.setTag(item.tag());
}

UIViewPtr UINavigationBar::makeViewForItem(const UIBarButtonItemPtr& item) {
    if (item->customView()) return item->customView();
    auto button = UIButton::buttonWithType(UIButtonType::System);
    std::weak_ptr<UIBarButtonItem> weakItem = item;
    button->addTarget(
        [weakItem](UIControl&) {
            if (auto item = weakItem.lock()) item->tap();
        },
        UIControlEventTouchUpInside);
    return button;
}

std::vector<UIBarButtonItemPtr> UINavigationBar::shownItems() const {
    std::vector<UIBarButtonItemPtr> shown;
    auto top = topItem();
    if (!top) return shown;
    for (const auto& item : top->leftBarButtonItems()) shown.push_back(item);
    for (const auto& item : top->rightBarButtonItems()) shown.push_back(item);
    return shown;
}

void UINavigationBar::applyAppearanceToItems() {
    std::vector<foundation::ObjectPtr> chain{shared_from_this()};
    auto outer = UIAppearance::containerChain(*this);
    chain.insert(chain.end(), outer.begin(), outer.end());
    for (const auto& navigationItem : items_) {
        std::vector<UIBarButtonItemPtr> items = navigationItem->leftBarButtonItems();
        items.insert(items.end(), navigationItem->rightBarButtonItems().begin(),
                     navigationItem->rightBarButtonItems().end());
        if (navigationItem->backBarButtonItem()) items.push_back(navigationItem->backBarButtonItem());
        for (const auto& item : items) {
            bool done = std::any_of(appearanceApplied_.begin(), appearanceApplied_.end(),
                                    [&](const std::weak_ptr<UIBarButtonItem>& w) { return w.lock() == item; });
            if (done) continue;
            UIAppearance::applyTo(*item, *item, chain);
            appearanceApplied_.push_back(item);
        }
    }
    std::erase_if(appearanceApplied_, [](const std::weak_ptr<UIBarButtonItem>& w) { return w.expired(); });
}

void UINavigationBar::didMoveToWindow() {
    appearanceApplied_.clear();
    if (window()) applyAppearanceToItems();
    setNeedsLayout();
}

void UINavigationBar::layoutSubviews() {
    // Its parts are subviews, which only a bar owned by a shared_ptr can hold.
    auto self = std::static_pointer_cast<UINavigationBar>(weak_from_this().lock());
    if (!self) return;
    auto top = topItem();
    if (window()) applyAppearanceToItems();
    for (const auto& item : items_) item->setHostView(self);
    const graphics::Rect area = bounds();
    const double middle = area.origin.y + area.size.height / 2;
    auto place = [&](const UIViewPtr& view, double x, graphics::Size size) {
        view->setFrame({{x, middle - size.height / 2}, size});
    };

    // Item views: kept for items still shown, made for new ones.
    std::vector<std::pair<UIBarButtonItemPtr, UIViewPtr>> views;
    for (const auto& item : shownItems()) {
        UIViewPtr view = viewForBarButtonItem(item);
        if (!view) view = makeViewForItem(item);
        item->setHostView(self);
        views.emplace_back(item, view);
    }
    for (const auto& [item, view] : itemViews_) {
        bool kept = std::any_of(views.begin(), views.end(), [&](const auto& entry) { return entry.second == view; });
        if (!kept && view->superview().get() == this) view->removeFromSuperview();
    }
    itemViews_ = std::move(views);
    auto sizeOf = [&](const UIBarButtonItemPtr& item, const UIViewPtr& view) {
        if (item->customView()) return view->frame().size;
        if (auto* button = dynamic_cast<UIButton*>(view.get())) updateButton(*button, *item);
        auto size = view->sizeThatFits({0, 0});
        if (item->width() > 0) size.width = item->width();
        return size;
    };
    auto advance = [](const UIBarButtonItemPtr& item, graphics::Size size) {
        return (item->systemItem() == UIBarButtonSystemItem::FlexibleSpace ? 0 : size.width) + kItemSpacing;
    };

    // Right items, from the right edge.
    double right = area.origin.x + area.size.width - kBarMargin;
    if (top) {
        for (const auto& item : top->rightBarButtonItems()) {
            auto view = viewForBarButtonItem(item);
            if (!view->superview()) addSubview(view);
            auto size = sizeOf(item, view);
            if (!item->isSpace()) place(view, right - size.width, size);
            right -= advance(item, size);
        }
    }
    const bool backShown = isBackButtonShown();
    const bool leftShown = top && (!backShown || top->leftItemsSupplementBackButton());
    double leftItemsWidth = 0;
    if (top && leftShown)
        for (const auto& item : top->leftBarButtonItems())
            leftItemsWidth += advance(item, sizeOf(item, viewForBarButtonItem(item)));

    // The title's natural size, which the back title makes way for.
    UIViewPtr title;
    graphics::Size titleSize{0, 0};
    if (top && top->titleView()) {
        title = top->titleView();
        titleSize = title->frame().size;
        if (titleLabel_) titleLabel_->removeFromSuperview();
    } else if (top) {
        if (!titleLabel_) titleLabel_ = std::make_shared<UILabel>();
        titleLabel_->setFont(titleTextAttributes_.font ? titleTextAttributes_.font
                                                       : UIFont::boldSystemFontOfSize(kTitleFontSize));
        titleLabel_->setTextColor(titleTextAttributes_.foregroundColor.value_or(graphics::Color::black()));
        titleLabel_->setTextAlignment(NSTextAlignment::Center);
        titleLabel_->setText(top->title());
        title = titleLabel_;
        titleSize = titleLabel_->sizeThatFits({0, 0});
    } else if (titleLabel_) {
        titleLabel_->removeFromSuperview();
    }

    // Back button: its item's title where that leaves the title its place in
    // the bar's middle (and room beside the other items), else "Back", else
    // the arrow alone; the title never shrinks to make room.
    double left = area.origin.x + kBarMargin;
    if (backShown) {
        if (!backButton_) {
            backButton_ = UIButton::buttonWithType(UIButtonType::System);
            std::weak_ptr<UINavigationBar> weakBar = self;
            backButton_->addTarget(
                [weakBar](UIControl&) {
                    if (auto bar = weakBar.lock()) bar->backButtonTapped();
                },
                UIControlEventTouchUpInside);
        }
        backButton_->titleLabel()->setFont(UIFont::systemFontOfSize(kButtonFontSize));
        const double titleRoom = titleSize.width > 0 ? titleSize.width + kItemSpacing : 0;
        const double centredTitleX = area.origin.x + (area.size.width - titleSize.width) / 2;
        graphics::Size size{0, 0};
        for (const std::string& candidate : {kBackArrow + backButtonTitle(), kBackArrow + std::string("Back"),
                                             std::string(kBackArrowAlone)}) {
            backButton_->setTitle(candidate, UIControlStateNormal);
            size = backButton_->sizeThatFits({0, 0});
            const double end = left + size.width + kItemSpacing + leftItemsWidth;
            if (end + titleRoom <= right && (titleSize.width <= 0 || end <= centredTitleX)) break;
        }
        // The arrow alone never reaches past the right items.
        size.width = std::min(size.width, std::max(0.0, right - left));
        if (!backButton_->superview()) addSubview(backButton_);
        place(backButton_, left, size);
        left += size.width + kItemSpacing;
    } else if (backButton_) {
        backButton_->removeFromSuperview();
    }

    // Left items, after the back button.
    if (top) {
        for (const auto& item : top->leftBarButtonItems()) {
            auto view = viewForBarButtonItem(item);
            view->setHidden(!leftShown);
            if (!view->superview()) addSubview(view);
            if (!leftShown) continue;
            auto size = sizeOf(item, view);
            if (!item->isSpace()) place(view, left, size);
            left += advance(item, size);
        }
    }

    // Title: centred in the bar where the buttons leave room, else in the
    // room they leave.
    if (shownTitleView_ && shownTitleView_ != title && shownTitleView_->superview().get() == this)
        shownTitleView_->removeFromSuperview();
    shownTitleView_ = title;
    if (title) {
        if (!title->superview()) addSubview(title);
        double room = std::max(0.0, right - left);
        titleSize.width = std::min(titleSize.width, room);
        double x = area.origin.x + (area.size.width - titleSize.width) / 2;
        x = std::clamp(x, left, std::max(left, right - titleSize.width));
        place(title, x, titleSize);
    }
}

namespace {
graphics::Color navigationBarStockColor(UIBarStyle style) {
    return style == UIBarStyle::Black ? graphics::Color::gray(0.1) : graphics::Color::gray(0.97);
}
}  // namespace

graphics::Color UINavigationBar::shownBackgroundColor() const {
    auto background = backgroundImageForBarMetrics(UIBarMetrics::Default);
    if (background && !background->isEmpty() && background->bitmap()) {
        const auto& bytes = background->bitmap()->bytes();
        double sum[4] = {0, 0, 0, 0};
        for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
            double alpha = bytes[i + 3] / 255.0;
            for (size_t c = 0; c < 3; ++c) sum[c] += alpha * bytes[i + c] / 255.0;
            sum[3] += alpha;
        }
        if (sum[3] > 0) return graphics::Color::rgb(sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3]);
    }
    if (backgroundColor() && backgroundColor()->alpha() > 0) return *backgroundColor();
    return barTintColor_.value_or(navigationBarStockColor(barStyle_));
}

void UINavigationBar::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    auto background = backgroundImageForBarMetrics(UIBarMetrics::Default);
    graphics::MutablePath fill;
    fill.addRect(rect);
    if (background && !background->isEmpty()) {
        background->drawInContext(*context, rect);
    } else if (!background && !backgroundColor()) {
        graphics::Color base = barTintColor_.value_or(navigationBarStockColor(barStyle_));
        context->fillPath(fill, translucent_ && !barTintColor_ ? base.withAlpha(0.85) : base);
    }
    // The line along the bottom edge.
    graphics::Rect line{{rect.origin.x, rect.origin.y + rect.size.height - 0.5}, {rect.size.width, 0.5}};
    if (!shadowImage_) {
        graphics::MutablePath hairline;
        hairline.addRect(line);
        context->fillPath(hairline, graphics::Color::gray(0, 0.3));
    } else if (!shadowImage_->isEmpty()) {
        shadowImage_->drawInContext(*context, {line.origin, {line.size.width, shadowImage_->size().height}});
    }
}

void UINavigationBarAppearance::setBarTintColor(std::optional<graphics::Color> color) const {
    proxy_.set(UINavigationBar::kBarTintColorKey, [color](UINavigationBar& bar) { bar.setBarTintColor(color); });
}

void UINavigationBarAppearance::setBackgroundColor(std::optional<graphics::Color> color) const {
    proxy_.set(UINavigationBar::kBackgroundColorKey, [color](UINavigationBar& bar) { bar.setBackgroundColor(color); });
}

void UINavigationBarAppearance::setBackgroundImage(UIImagePtr image, UIBarMetrics metrics) const {
    proxy_.set(UINavigationBar::backgroundImageKey(metrics),
               [image, metrics](UINavigationBar& bar) { bar.setBackgroundImage(image, metrics); });
}

void UINavigationBarAppearance::setShadowImage(UIImagePtr image) const {
    proxy_.set(UINavigationBar::kShadowImageKey, [image](UINavigationBar& bar) { bar.setShadowImage(image); });
}

void UINavigationBarAppearance::setTranslucent(bool translucent) const {
    proxy_.set(UINavigationBar::kTranslucentKey, [translucent](UINavigationBar& bar) { bar.setTranslucent(translucent); });
}

void UINavigationBarAppearance::setTitleTextAttributes(const TextAttributes& attributes) const {
    proxy_.set(UINavigationBar::kTitleTextAttributesKey,
               [attributes](UINavigationBar& bar) { bar.setTitleTextAttributes(attributes); });
}

}  // namespace uikit
