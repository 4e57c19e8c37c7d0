#include "app/StartTutorialNib.h"

#include <memory>

#include "app/QVAStartTutorialViewController.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UINib.h"
#include "uikit/UIScreen.h"
#include "uikit/UIScrollView.h"

namespace {

using uikit::UIViewAutoresizingFlexibleBottomMargin;
using uikit::UIViewAutoresizingFlexibleHeight;
using uikit::UIViewAutoresizingFlexibleLeftMargin;
using uikit::UIViewAutoresizingFlexibleRightMargin;
using uikit::UIViewAutoresizingFlexibleTopMargin;
using uikit::UIViewAutoresizingFlexibleWidth;

// The phone frame against the screen, and its screen against the frame.
constexpr double kPhoneHeightShare = 0.5;
constexpr double kPhoneAspect = 0.5;
constexpr double kPhoneBottomMargin = 50;
constexpr double kScreenInsetX = 0.08;
constexpr double kScreenInsetY = 0.12;

std::vector<foundation::ObjectPtr> makeViews(const foundation::ObjectPtr& ownerObject) {
    const auto screen = uikit::UIScreen::mainScreen().bounds().size;
    const double width = screen.width;
    const double height = screen.height;

    auto root = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, width, height});
    root->setBackgroundColor(uikit::UIColor::blackColor());
    root->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);

    const double phoneHeight = height * kPhoneHeightShare;
    const double phoneWidth = phoneHeight * kPhoneAspect;
    const graphics::Rect phoneFrame{(width - phoneWidth) / 2, height - phoneHeight - kPhoneBottomMargin, phoneWidth,
                                    phoneHeight};
    const auto phoneMask = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                           UIViewAutoresizingFlexibleTopMargin;

    auto phone = std::make_shared<uikit::UIImageView>(phoneFrame);
    phone->setImage(uikit::UIImage::imageNamed(StartTutorialNib::kPhoneFrameImageName));
    phone->setContentMode(uikit::UIViewContentMode::ScaleToFill);
    phone->setAutoresizingMask(phoneMask);
    phone->setOutletName(std::string("iphoneImageView"));

    const double insetX = phoneWidth * kScreenInsetX;
    const double insetY = phoneHeight * kScreenInsetY;
    auto screenshots = std::make_shared<uikit::UIScrollView>(graphics::Rect{
        phoneFrame.origin.x + insetX, phoneFrame.origin.y + insetY, phoneWidth - 2 * insetX, phoneHeight - 2 * insetY});
    screenshots->setAutoresizingMask(phoneMask);
    screenshots->setBackgroundColor(uikit::UIColor::blackColor());
    screenshots->setOutletName(std::string("iphoneScrollView"));

    auto pager = std::make_shared<uikit::UIScrollView>(graphics::Rect{0, 0, width, height});
    pager->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    pager->setOutletName(std::string("scrollView"));

    root->addSubview(phone);
    root->addSubview(screenshots);
    root->addSubview(pager);

    if (auto owner = std::dynamic_pointer_cast<QVAStartTutorialViewController>(ownerObject)) {
        owner->setIphoneImageView(phone);
        owner->setIphoneScrollView(screenshots);
        owner->setScrollView(pager);
        owner->setView(root);
    }
    return {root};
}

}  // namespace

void StartTutorialNib::registerNib() {
    if (uikit::UINib::hasNibNamed(QVAStartTutorialViewController::kNibName)) return;
    uikit::UINib::registerNib(QVAStartTutorialViewController::kNibName, makeViews);
}
