#include "uikit/UIButton.h"

#include <cmath>

namespace uikit {

namespace {
constexpr double kTitleFontSize = 15;
// The side of the platform's small glyph buttons (info, add, disclosure).
constexpr double kGlyphSide = 22;
}  // namespace

UIButtonPtr UIButton::buttonWithType(UIButtonType type) {
    auto button = std::make_shared<UIButton>(type, graphics::Rect{});
    if (type != UIButtonType::Custom && type != UIButtonType::System)
        button->setFrame({{0, 0}, {kGlyphSide, kGlyphSide}});
    return button;
}

UIButton::UIButton(UIButtonType type, const graphics::Rect& frame)
    : UIControl(frame),
      type_(type),
      titleLabel_(std::make_shared<UILabel>()),
      imageView_(std::make_shared<UIImageView>()) {
    titleLabel_->setFont(UIFont::systemFontOfSize(kTitleFontSize));
    titleLabel_->setHidden(true);
    imageView_->setHidden(true);
    imageView_->setContentMode(UIViewContentMode::Center);
}

template <class T>
std::optional<T> UIButton::lookUp(const std::map<UIControlState, T>& table, UIControlState state) {
    if (auto it = table.find(state); it != table.end()) return it->second;
    // Highlighted while selected falls back to selected before normal.
    if ((state & UIControlStateSelected) && state != UIControlStateSelected) {
        if (auto it = table.find(UIControlStateSelected); it != table.end()) return it->second;
    }
    if (auto it = table.find(UIControlStateNormal); it != table.end()) return it->second;
    return std::nullopt;
}

void UIButton::setTitle(std::optional<std::string> title, UIControlState state) {
    // Nil takes the state's own title away, so the normal one shows again.
    if (title) titles_[state] = std::move(*title);
    else titles_.erase(state);
    refresh();
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    return lookUp(titles_, state);
}

void UIButton::setTitleColor(std::optional<graphics::Color> color, UIControlState state) {
    if (color) titleColors_.insert_or_assign(state, *color);
    else titleColors_.erase(state);
    refresh();
}

std::optional<graphics::Color> UIButton::titleColorForState(UIControlState state) const {
    return lookUp(titleColors_, state);
}

void UIButton::setImage(UIImagePtr image, UIControlState state) {
    if (image) images_[state] = std::move(image);
    else images_.erase(state);
    refresh();
}

UIImagePtr UIButton::imageForState(UIControlState state) const { return lookUp(images_, state).value_or(nullptr); }

void UIButton::setBackgroundImage(UIImagePtr image, UIControlState state) {
    if (image) backgroundImages_[state] = std::move(image);
    else backgroundImages_.erase(state);
    refresh();
}

UIImagePtr UIButton::backgroundImageForState(UIControlState state) const {
    return lookUp(backgroundImages_, state).value_or(nullptr);
}

graphics::Color UIButton::currentTitleColor() const {
    if (auto color = titleColorForState(state())) return *color;
    if (type_ == UIButtonType::Custom) return graphics::Color::white();
    if (!isEnabled()) return graphics::Color::gray(0.5, 0.5);
    graphics::Color tint = tintColor();
    return isHighlighted() ? tint.withAlpha(tint.alpha() * 0.2) : tint;
}

void UIButton::setContentEdgeInsets(const UIEdgeInsets& insets) {
    contentEdgeInsets_ = insets;
    setNeedsLayout();
}

void UIButton::refresh() {
    auto title = currentTitle();
    titleLabel_->setText(title);
    titleLabel_->setTextColor(currentTitleColor());
    titleLabel_->setHidden(!title || title->empty());
    auto image = currentImage();
    // A system button shows its image in its tint, unless the image insists
    // on its own colours.
    if (type_ == UIButtonType::System && image && image->renderingMode() == UIImageRenderingMode::Automatic)
        imageView_->setImage(image->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    else
        imageView_->setImage(image);
    imageView_->setHidden(!image);
    attachParts();
    setNeedsLayout();
    setNeedsDisplay();
}

void UIButton::attachParts() {
    // The parts join the button on first use, so a plain button has no
    // subviews; a button not (yet) owned by a shared_ptr takes them at layout.
    if (weak_from_this().expired()) return;
    if (!titleLabel_->isHidden() && !titleLabel_->superview()) addSubview(titleLabel_);
    if (!imageView_->isHidden() && !imageView_->superview()) addSubview(imageView_);
}

graphics::Size UIButton::contentSize() const {
    graphics::Size image = imageView_->isHidden() ? graphics::Size{0, 0} : imageView_->sizeThatFits({0, 0});
    graphics::Size title = titleLabel_->isHidden() ? graphics::Size{0, 0} : titleLabel_->sizeThatFits({0, 0});
    return {image.width + title.width, std::max(image.height, title.height)};
}

graphics::Size UIButton::sizeThatFits(graphics::Size) const {
    graphics::Size content = contentSize();
    if (auto background = currentBackgroundImage()) {
        content.width = std::max(content.width, background->size().width);
        content.height = std::max(content.height, background->size().height);
    }
    if (type_ != UIButtonType::Custom && type_ != UIButtonType::System) {
        content.width = std::max(content.width, kGlyphSide);
        content.height = std::max(content.height, kGlyphSide);
    }
    return {std::ceil(content.width + contentEdgeInsets_.left + contentEdgeInsets_.right),
            std::ceil(content.height + contentEdgeInsets_.top + contentEdgeInsets_.bottom)};
}

void UIButton::layoutSubviews() {
    attachParts();
    graphics::Rect area = UIEdgeInsetsInsetRect(bounds(), contentEdgeInsets_);
    graphics::Size image = imageView_->isHidden() ? graphics::Size{0, 0} : imageView_->sizeThatFits({0, 0});
    graphics::Size title = titleLabel_->isHidden() ? graphics::Size{0, 0} : titleLabel_->sizeThatFits({0, 0});
    // The title gives way when both do not fit.
    title.width = std::max(0.0, std::min(title.width, area.size.width - image.width));
    double total = image.width + title.width;
    double x = area.origin.x;
    switch (contentHorizontalAlignment()) {
        case UIControlContentHorizontalAlignment::Left: break;
        case UIControlContentHorizontalAlignment::Right: x += area.size.width - total; break;
        case UIControlContentHorizontalAlignment::Center:
        case UIControlContentHorizontalAlignment::Fill: x += (area.size.width - total) / 2; break;
    }
    auto vertical = [&](double height) {
        switch (contentVerticalAlignment()) {
            case UIControlContentVerticalAlignment::Top: return area.origin.y;
            case UIControlContentVerticalAlignment::Bottom: return area.origin.y + area.size.height - height;
            default: return area.origin.y + (area.size.height - height) / 2;
        }
    };
    imageView_->setFrame({{x, vertical(image.height)}, image});
    titleLabel_->setFrame({{x + image.width, vertical(title.height)}, title});
}

void UIButton::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    auto background = currentBackgroundImage();
    if (context && background) background->drawInContext(*context, rect);
}

}  // namespace uikit
