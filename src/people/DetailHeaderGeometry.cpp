#include "people/DetailHeaderGeometry.h"

#include <algorithm>
#include <cmath>

#include "Utils/UIImageImageEffects.h"
#include "lists/QVADetailHeaderView.h"
#include "uikit/UIColor.h"
#include "uikit/UIImageView.h"
#include "uikit/UITableView.h"

namespace DetailHeaderGeometry {

std::optional<double> stretchedBackgroundHeight(double titleTop, double headerHeight) {
    if (!(titleTop < kNavigationBarBottom)) return std::nullopt;
    return (kNavigationBarBottom - titleTop) + headerHeight;
}

bool stretchBackgroundForTitleTop(QVADetailHeaderView& header, double titleTop, double headerHeight) {
    const auto height = stretchedBackgroundHeight(titleTop, headerHeight);
    if (!height) return false;
    if (const auto& constraint = header.headerBackgroundImageHeightConstraint()) constraint->setConstant(*height);
    // Nothing solves constraints here: the header takes the constant itself.
    graphics::Rect frame = header.frame();
    frame.size.height = *height;
    header.setFrame(frame);
    auto superview = header.superview();
    if (superview) superview->updateConstraintsIfNeeded();
    header.setNeedsLayout();
    header.layoutIfNeeded();
    if (auto table = std::dynamic_pointer_cast<uikit::UITableView>(superview)) {
        // A table measures its header when it is set; the same view set
        // again would be ignored.
        auto self = std::static_pointer_cast<uikit::UIView>(header.shared_from_this());
        table->setTableHeaderView(nullptr);
        table->setTableHeaderView(self);
    }
    return true;
}

double photoSideForOffset(double offset) {
    return std::clamp(kLargestPhotoSide - (offset + kSmallestPhotoSide), kSmallestPhotoSide, kLargestPhotoSide);
}

int backgroundImageHeight(double headerHeight) {
    return static_cast<int>(std::floor(headerHeight)) - kBackgroundBottomStrip;
}

std::shared_ptr<uikit::UIView> coverWithOverlay(uikit::UIView& background, std::weak_ptr<uikit::UIView>& kept,
                                                const graphics::Rect& rect) {
    auto overlay = kept.lock();
    if (overlay && overlay->superview().get() == &background) {
        overlay->setFrame(rect);
        return overlay;
    }
    overlay = std::make_shared<uikit::UIView>(rect);
    overlay->setBackgroundColor(uikit::UIColor::blackColor());
    overlay->setAlpha(kOverlayAlpha);
    overlay->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    background.addSubview(overlay);
    kept = overlay;
    return overlay;
}

void framePhoto(uikit::UIImageView& photo) {
    const auto& layer = photo.layer();
    layer->setCornerRadius(kPhotoCornerRadius);
    layer->setMasksToBounds(true);
    layer->setBorderColor(graphics::Color::white());
    layer->setBorderWidth(kPhotoBorderWidth);
    photo.setAlpha(1);
}

std::shared_ptr<uikit::UIImageView> installBackgroundImageView(QVADetailHeaderView& header) {
    header.setBackgroundColor(uikit::UIColor::blackColor());
    header.setClipsToBounds(true);
    auto background = std::make_shared<uikit::UIImageView>(header.bounds());
    background->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    background->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    background->setClipsToBounds(true);
    background->setOutletName(std::string("headerBackgroundImage"));
    header.addSubview(background);
    header.setHeaderBackgroundImage(background);
    return background;
}

uikit::UIImagePtr blurredBackground(const uikit::UIImagePtr& image) {
    if (!image) return image;
    auto blurred = UIImageImageEffects::applyBlurWithRadius(*image, 1, std::nullopt, 1, nullptr);
    return blurred ? blurred : image;
}

std::shared_ptr<uikit::NSLayoutConstraint> addPhotoSideConstraint(const std::shared_ptr<uikit::UIImageView>& photo,
                                                                  uikit::NSLayoutAttribute attribute, const char* outlet) {
    auto constraint = uikit::NSLayoutConstraint::constraintWithItem(
        photo, attribute, uikit::NSLayoutRelation::Equal, nullptr, uikit::NSLayoutAttribute::NotAnAttribute, 1,
        kLargestPhotoSide);
    constraint->setOutletName(std::string(outlet));
    photo->addConstraint(constraint);
    return constraint;
}

}  // namespace DetailHeaderGeometry
