#include "uikit/UITableViewCell.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"

namespace uikit {

namespace {

void requireMainForTableViewCell() {

    foundation::requireMainThread("UITableViewCell is used from the main thread only");

}

constexpr double kCellMargin = 15;
constexpr double kDefaultHeight = 44;
constexpr double kValue2TextWidth = 91;

std::shared_ptr<UILabel> makeLabel(double fontSize, std::optional<graphics::Color> color) {
    auto label = std::make_shared<UILabel>();
    label->setFont(UIFont::systemFontOfSize(fontSize));
    label->setTextColor(std::move(color));
    label->setHighlightedTextColor(UIColor::whiteColor());
    return label;
}

double labelWidth(const UILabel& label, double height) {
    if (!label.text() || label.text()->empty()) return 0;
    return label.sizeThatFits({1e6, height}).width;
}

}  // namespace

UITableViewCell::UITableViewCell(UITableViewCellStyle style, std::optional<std::string> reuseIdentifier)
    : UIView(graphics::Rect{{0, 0}, {320, kDefaultHeight}}),
      style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(std::make_shared<UIView>(graphics::Rect{{0, 0}, {320, kDefaultHeight}})),
      imageView_(std::make_shared<UIImageView>()) {
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    setBackgroundColor(UIColor::whiteColor());
    textLabel_ = makeLabel(17, UIColor::blackColor());
    switch (style) {
    case UITableViewCellStyle::Default:
        break;
    case UITableViewCellStyle::Value1:
        detailTextLabel_ = makeLabel(17, UIColor::grayColor());
        detailTextLabel_->setTextAlignment(NSTextAlignment::Right);
        break;
    case UITableViewCellStyle::Value2:
        textLabel_->setFont(UIFont::boldSystemFontOfSize(12));
        textLabel_->setTextAlignment(NSTextAlignment::Right);
        detailTextLabel_ = makeLabel(15, UIColor::blackColor());
        break;
    case UITableViewCellStyle::Subtitle:
        detailTextLabel_ = makeLabel(12, UIColor::blackColor());
        break;
    }
    contentView_->addSubview(imageView_);
    contentView_->addSubview(textLabel_);
    if (detailTextLabel_) contentView_->addSubview(detailTextLabel_);
}

UITableViewCell::~UITableViewCell() = default;

void UITableViewCell::attachParts() const {
    // A view not yet owned by a shared_ptr cannot be a superview.
    auto* self = const_cast<UITableViewCell*>(this);
    if (contentView_->superview() || self->weak_from_this().expired()) return;
    self->insertSubviewAtIndex(contentView_, 0);
    self->setNeedsLayout();
}

const std::shared_ptr<UIView>& UITableViewCell::contentView() const {
    attachParts();
    return contentView_;
}

void UITableViewCell::didMoveToSuperview() { attachParts(); }

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type) {
    accessoryType_ = type;
    setNeedsLayout();
    setNeedsDisplay();
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view) {
    requireMainForTableViewCell();
    if (accessoryView_ == view) return;
    if (accessoryView_) accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (accessoryView_ && !weak_from_this().expired()) addSubview(accessoryView_);
    setNeedsLayout();
}

double UITableViewCell::accessoryWidth() const {
    if (accessoryView_) return accessoryView_->frame().size.width + kCellMargin;
    switch (accessoryType_) {
    case UITableViewCellAccessoryType::None: return 0;
    case UITableViewCellAccessoryType::DisclosureIndicator: return 33;
    case UITableViewCellAccessoryType::Checkmark: return 39;
    case UITableViewCellAccessoryType::DetailButton: return 48;
    case UITableViewCellAccessoryType::DetailDisclosureButton: return 67;
    }
    return 0;
}

void UITableViewCell::setSelected(bool selected, bool animated) {
    (void)animated;
    selected_ = selected;
    updateLabelHighlight();
    setNeedsDisplay();
}

void UITableViewCell::setHighlighted(bool highlighted, bool animated) {
    (void)animated;
    highlighted_ = highlighted;
    updateLabelHighlight();
    setNeedsDisplay();
}

void UITableViewCell::updateLabelHighlight() {
    // A cell that does not show selection keeps its labels' plain colours.
    bool on = (selected_ || highlighted_) && selectionStyle_ != UITableViewCellSelectionStyle::None;
    textLabel_->setHighlighted(on);
    if (detailTextLabel_) detailTextLabel_->setHighlighted(on);
    imageView_->setHighlighted(on);
}

void UITableViewCell::prepareForReuse() {
    setSelected(false, false);
    setHighlighted(false, false);
}

double UITableViewCell::fittingHeightForWidth(double width) {
    (void)width;
    return contentView_->bounds().size.height;
}

void UITableViewCell::layoutSubviews() {
    attachParts();
    graphics::Size size = bounds().size;
    double accessory = accessoryWidth();
    // In a table with separators the content stops a hairline short of the
    // bottom, so the row's separator stays visible.
    double hairline = 0;
    if (auto table = std::dynamic_pointer_cast<UITableView>(superview());
        table && table->separatorStyle() != UITableViewCellSeparatorStyle::None)
        hairline = 1 / contentScaleFactor();
    contentView_->setFrame({{0, 0}, {std::max(0.0, size.width - accessory), std::max(0.0, size.height - hairline)}});
    if (accessoryView_) {
        if (!accessoryView_->superview() && !weak_from_this().expired()) addSubview(accessoryView_);
        graphics::Size a = accessoryView_->frame().size;
        accessoryView_->setFrame({{size.width - kCellMargin - a.width, (size.height - a.height) / 2}, a});
    }

    double width = contentView_->bounds().size.width;
    double height = size.height;
    double x = kCellMargin;
    if (imageView_->image()) {
        graphics::Size image = imageView_->image()->size();
        imageView_->setFrame({{kCellMargin, (height - image.height) / 2}, image});
        x += image.width + kCellMargin;
    } else {
        imageView_->setFrame({{0, 0}, {0, 0}});
    }
    double available = std::max(0.0, width - x - kCellMargin);
    switch (style_) {
    case UITableViewCellStyle::Default:
        textLabel_->setFrame({{x, 0}, {available, height}});
        break;
    case UITableViewCellStyle::Subtitle: {
        double top = textLabel_->font()->lineHeight();
        double bottom = detailTextLabel_->text() ? detailTextLabel_->font()->lineHeight() : 0;
        double y = (height - top - bottom) / 2;
        textLabel_->setFrame({{x, y}, {available, top}});
        detailTextLabel_->setFrame({{x, y + top}, {available, bottom}});
        break;
    }
    case UITableViewCellStyle::Value1: {
        double detail = std::min(available, labelWidth(*detailTextLabel_, height));
        detailTextLabel_->setFrame({{x + available - detail, 0}, {detail, height}});
        textLabel_->setFrame({{x, 0}, {std::max(0.0, available - detail - (detail > 0 ? kCellMargin : 0)), height}});
        break;
    }
    case UITableViewCellStyle::Value2: {
        double text = std::min(available, kValue2TextWidth - x);
        textLabel_->setFrame({{x, 0}, {std::max(0.0, text), height}});
        double dx = x + std::max(0.0, text) + 6;
        detailTextLabel_->setFrame({{dx, 0}, {std::max(0.0, width - dx - kCellMargin), height}});
        break;
    }
    }
}

}  // namespace uikit
