#include "lists/CustomSectionHeaderTableView.h"

#include <algorithm>

#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

using uikit::NSLayoutAttribute;
using uikit::NSLayoutConstraint;
using uikit::NSLayoutRelation;

CustomSectionHeaderTableView::CustomSectionHeaderTableView(const graphics::Rect& frame) : uikit::UIView(frame) {
    setBackgroundColor(uikit::UIColor::colorWithRed(247.0 / 255, 247.0 / 255, 247.0 / 255, 1));
}

CustomSectionHeaderTableView::CustomSectionHeaderTableView(Passkey, const graphics::Rect& frame)
    : uikit::UIView(frame) {}

std::shared_ptr<CustomSectionHeaderTableView> CustomSectionHeaderTableView::initWithFrame(const graphics::Rect& frame) {
    return std::make_shared<CustomSectionHeaderTableView>(frame);
}

std::shared_ptr<CustomSectionHeaderTableView> CustomSectionHeaderTableView::initWithFrame(
    const graphics::Rect& frame, const std::string& imageName) {
    auto header = std::make_shared<CustomSectionHeaderTableView>(Passkey{}, frame);
    header->backgroundImageView_ = std::make_shared<uikit::UIImageView>(uikit::UIImage::imageNamed(imageName));
    header->backgroundImageView_->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(header->backgroundImageView_);
    header->setNeedsUpdateConstraints();
    header->placeSubviews();
    return header;
}

graphics::Color CustomSectionHeaderTableView::defaultTitleColor() {
    return uikit::UIColor::colorWithRed(2.0 / 255, 83.0 / 255, 155.0 / 255, 1);
}

void CustomSectionHeaderTableView::setTitle(std::optional<std::string> title) {
    setTitle(std::move(title), defaultTitleColor());
}

void CustomSectionHeaderTableView::setTitle(std::optional<std::string> title, const graphics::Color& color) {
    // A header shows one title: a second call replaces the first label.
    if (headerTitleLabel_) headerTitleLabel_->removeFromSuperview();
    headerTitleLabel_ = std::make_shared<uikit::UILabel>();
    headerTitleLabel_->setTranslatesAutoresizingMaskIntoConstraints(false);
    headerTitleLabel_->setFont(uikit::UIFont::fontWithName(kTitleFontName, kTitleFontSize));
    headerTitleLabel_->setBackgroundColor(uikit::UIColor::clearColor());
    headerTitleLabel_->setTextColor(color);
    headerTitleLabel_->setText(std::move(title));
    addSubview(headerTitleLabel_);
    setNeedsUpdateConstraints();
    placeSubviews();
}

void CustomSectionHeaderTableView::setHintImage(const std::string& imageName) {
    if (hintImageView_) hintImageView_->removeFromSuperview();
    hintImage_ = uikit::UIImage::imageNamed(imageName);
    hintImageView_ = std::make_shared<uikit::UIImageView>(hintImage_);
    hintImageView_->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(hintImageView_);
    setNeedsUpdateConstraints();
    placeSubviews();
}

void CustomSectionHeaderTableView::updateConstraints() {
    uikit::UIView::updateConstraints();
    removeConstraints(ownConstraints_);
    ownConstraints_.clear();
    auto self = std::static_pointer_cast<uikit::UIView>(shared_from_this());
    auto add = [&](const uikit::UIViewPtr& view, NSLayoutAttribute attribute, const uikit::UIViewPtr& other,
                   NSLayoutAttribute otherAttribute, double constant) {
        ownConstraints_.push_back(NSLayoutConstraint::constraintWithItem(view, attribute, NSLayoutRelation::Equal, other,
                                                                         otherAttribute, 1, constant));
    };
    if (hintImageView_) {
        const auto size = hintImage_ ? hintImage_->size() : graphics::Size{};
        add(hintImageView_, NSLayoutAttribute::Trailing, self, NSLayoutAttribute::Trailing, 0);
        add(hintImageView_, NSLayoutAttribute::CenterY, self, NSLayoutAttribute::CenterY, 0);
        add(hintImageView_, NSLayoutAttribute::Width, nullptr, NSLayoutAttribute::NotAnAttribute, size.width);
        add(hintImageView_, NSLayoutAttribute::Height, nullptr, NSLayoutAttribute::NotAnAttribute, size.height);
    }
    if (backgroundImageView_) {
        add(backgroundImageView_, NSLayoutAttribute::Leading, self, NSLayoutAttribute::Leading, 0);
        add(backgroundImageView_, NSLayoutAttribute::Trailing, self, NSLayoutAttribute::Trailing, 0);
        add(backgroundImageView_, NSLayoutAttribute::Top, self, NSLayoutAttribute::Top, 0);
        add(backgroundImageView_, NSLayoutAttribute::Bottom, self, NSLayoutAttribute::Bottom, 0);
    }
    if (headerTitleLabel_) {
        add(headerTitleLabel_, NSLayoutAttribute::Leading, self, NSLayoutAttribute::Leading, kTitleLeading);
        add(headerTitleLabel_, NSLayoutAttribute::CenterY, self, NSLayoutAttribute::CenterY, 0);
    }
    addConstraints(ownConstraints_);
}

void CustomSectionHeaderTableView::layoutSubviews() {
    uikit::UIView::layoutSubviews();
    placeSubviews();
}

// The frames the constraints of updateConstraints describe.
void CustomSectionHeaderTableView::placeSubviews() {
    const auto size = bounds().size;
    if (backgroundImageView_) backgroundImageView_->setFrame({{0, 0}, size});
    if (hintImageView_) {
        const auto hint = hintImage_ ? hintImage_->size() : graphics::Size{};
        hintImageView_->setFrame({{size.width - hint.width, (size.height - hint.height) / 2}, hint});
    }
    if (headerTitleLabel_) {
        const auto fitting = headerTitleLabel_->sizeThatFits({size.width, size.height});
        const double width = std::min(fitting.width, std::max(0.0, size.width - kTitleLeading));
        headerTitleLabel_->setFrame({{kTitleLeading, (size.height - fitting.height) / 2}, {width, fitting.height}});
    }
}
