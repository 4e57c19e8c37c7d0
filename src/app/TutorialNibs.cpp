#include "app/TutorialNibs.h"

#include <memory>
#include <vector>

#include "app/TutorialPage.h"
#include "app/TutorialViewController.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINib.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIScreen.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIWebView.h"

namespace {

using uikit::UIViewAutoresizingFlexibleBottomMargin;
using uikit::UIViewAutoresizingFlexibleHeight;
using uikit::UIViewAutoresizingFlexibleLeftMargin;
using uikit::UIViewAutoresizingFlexibleRightMargin;
using uikit::UIViewAutoresizingFlexibleTopMargin;
using uikit::UIViewAutoresizingFlexibleWidth;

constexpr uikit::UIViewAutoresizing kFlexibleSize = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;
constexpr uikit::UIViewAutoresizing kCentredHorizontally =
    UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin;

std::shared_ptr<uikit::UILabel> makeTitleLabel(const graphics::Rect& frame, double size, const graphics::Color& color) {
    auto label = std::make_shared<uikit::UILabel>(frame);
    label->setFont(uikit::UIFont::boldSystemFontOfSize(size));
    label->setTextColor(color);
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setBackgroundColor(uikit::UIColor::clearColor());
    return label;
}

std::shared_ptr<uikit::UIButton> makeCloseButton(const graphics::Rect& frame) {
    auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
    button->setFrame(frame);
    button->setTitle("Close", uikit::UIControlStateNormal);
    button->setTitleColor(uikit::UIColor::whiteColor(), uikit::UIControlStateNormal);
    return button;
}

std::shared_ptr<uikit::UIScrollView> makePager(const graphics::Rect& frame, uikit::UIViewAutoresizing mask) {
    auto pager = std::make_shared<uikit::UIScrollView>(frame);
    pager->setPagingEnabled(true);
    pager->setShowsHorizontalScrollIndicator(false);
    pager->setShowsVerticalScrollIndicator(false);
    pager->setBackgroundColor(uikit::UIColor::whiteColor());
    pager->setAutoresizingMask(mask);
    return pager;
}

// Connects the pager's own outlets and actions to the owner.
void wireOwner(const std::shared_ptr<TutorialViewController>& owner, const std::shared_ptr<uikit::UIView>& root,
               const std::shared_ptr<uikit::UIScrollView>& pager, const std::shared_ptr<uikit::UIPageControl>& dots,
               const std::shared_ptr<uikit::UIButton>& close) {
    std::weak_ptr<TutorialViewController> weakOwner = owner;
    pager->setDelegate(owner);
    dots->addTarget(
        [weakOwner](uikit::UIControl& sender) {
            if (auto controller = weakOwner.lock()) controller->pageControlValueChanged(sender.shared_from_this());
        },
        uikit::UIControlEventValueChanged);
    close->addTarget(
        [weakOwner](uikit::UIControl& sender) {
            if (auto controller = weakOwner.lock()) controller->closeButtonPressed(sender.shared_from_this());
        },
        uikit::UIControlEventTouchUpInside);
    owner->setTutorialScrollView(pager);
    owner->setTutorialPageControl(dots);
    owner->setCloseButton(close);
    owner->setView(root);
}

std::vector<foundation::ObjectPtr> makePadController(const foundation::ObjectPtr& ownerObject) {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 768, 1024});
    root->setBackgroundColor(uikit::UIColor::blackColor().colorWithAlphaComponent(0.7));
    root->setAutoresizingMask(kFlexibleSize);

    auto title = makeTitleLabel({164, 110, 440, 36}, 24, uikit::UIColor::whiteColor());
    title->setAutoresizingMask(kCentredHorizontally);
    auto close = makeCloseButton({604, 110, 80, 36});
    close->setAutoresizingMask(kCentredHorizontally);
    // A white card under the pager carries the dots, which are dark.
    auto card = std::make_shared<uikit::UIView>(graphics::Rect{84, 156, 600, 740});
    card->setBackgroundColor(uikit::UIColor::whiteColor());
    card->layer()->setCornerRadius(10);
    card->setAutoresizingMask(kCentredHorizontally | UIViewAutoresizingFlexibleHeight);
    auto pager = makePager({84, 156, 600, 695}, kCentredHorizontally | UIViewAutoresizingFlexibleHeight);
    auto dots = std::make_shared<uikit::UIPageControl>(graphics::Rect{84, 854, 600, 37});
    dots->setAutoresizingMask(kCentredHorizontally | UIViewAutoresizingFlexibleTopMargin);
    for (const auto& view : std::vector<uikit::UIViewPtr>{title, close, card, pager, dots}) root->addSubview(view);

    if (auto owner = std::dynamic_pointer_cast<TutorialViewController>(ownerObject)) {
        owner->setTitleLabel(title);
        wireOwner(owner, root, pager, dots, close);
    }
    return {root};
}

std::vector<foundation::ObjectPtr> makePhoneController(const foundation::ObjectPtr& ownerObject) {
    const auto screen = uikit::UIScreen::mainScreen().bounds().size;
    const double width = screen.width;
    const double height = screen.height;
    auto root = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, width, height});
    root->setBackgroundColor(uikit::UIColor::whiteColor());
    root->setAutoresizingMask(kFlexibleSize);

    auto bar = std::make_shared<uikit::UINavigationBar>(graphics::Rect{0, 20, width, 44});
    bar->setBarTintColor(uikit::UIColor::colorWithRed(0.16, 0.2, 0.28, 1));
    uikit::TextAttributes titleText;
    titleText.foregroundColor = uikit::UIColor::whiteColor();
    bar->setTitleTextAttributes(titleText);
    bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto close = makeCloseButton({0, 0, 60, 30});
    auto item = std::make_shared<uikit::UINavigationItem>(std::nullopt);
    item->setRightBarButtonItem(uikit::UIBarButtonItem::withCustomView(close));
    bar->pushNavigationItem(item, false);
    auto pager = makePager({10, 74, width - 20, height - 121}, kFlexibleSize);
    auto dots = std::make_shared<uikit::UIPageControl>(graphics::Rect{0, height - 42, width, 37});
    dots->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
    for (const auto& view : std::vector<uikit::UIViewPtr>{bar, pager, dots}) root->addSubview(view);

    if (auto owner = std::dynamic_pointer_cast<TutorialViewController>(ownerObject)) {
        owner->setNavigationBar(bar);
        wireOwner(owner, root, pager, dots, close);
    }
    return {root};
}

struct PageMetrics {
    graphics::Size size;
    double inset;
    double titleHeight;
    double titleFontSize;
    double pictureHeight;
};

// One page layout; with a picture, the picture sits between title and text.
std::shared_ptr<TutorialPage> makePage(const PageMetrics& metrics, bool withPicture) {
    const double inset = metrics.inset;
    const double innerWidth = metrics.size.width - 2 * inset;
    auto page = std::make_shared<TutorialPage>(graphics::Rect{{0, 0}, metrics.size});
    page->setAutoresizingMask(kFlexibleSize);
    page->setBackgroundColor(uikit::UIColor::clearColor());

    auto title = makeTitleLabel({inset, inset, innerWidth, metrics.titleHeight}, metrics.titleFontSize,
                                uikit::UIColor::darkGrayColor());
    title->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    page->addSubview(title);
    page->setTitleLabel(title);

    double top = inset + metrics.titleHeight + inset / 2;
    if (withPicture) {
        auto picture = std::make_shared<uikit::UIImageView>(graphics::Rect{inset, top, innerWidth, metrics.pictureHeight});
        picture->setContentMode(uikit::UIViewContentMode::ScaleAspectFit);
        picture->setAutoresizingMask(kFlexibleSize | UIViewAutoresizingFlexibleBottomMargin);
        page->addSubview(picture);
        page->setTutorialImage(picture);
        top += metrics.pictureHeight + inset / 2;
    }
    auto web = std::make_shared<uikit::UIWebView>(
        graphics::Rect{inset, top, innerWidth, metrics.size.height - top - inset});
    web->setBackgroundColor(uikit::UIColor::clearColor());
    // A shorter page (the pad in landscape) shares the loss between picture and text.
    web->setAutoresizingMask(kFlexibleSize | (withPicture ? UIViewAutoresizingFlexibleTopMargin : 0));
    page->addSubview(web);
    page->setTextWebView(web);
    return page;
}

std::vector<foundation::ObjectPtr> makePages(const PageMetrics& metrics) {
    return {makePage(metrics, false), makePage(metrics, true)};
}

}  // namespace

void TutorialNibs::registerNibs() {
    if (uikit::UINib::hasNibNamed(kControllerPad) && uikit::UINib::hasNibNamed(kControllerPhone) &&
        uikit::UINib::hasNibNamed(kPagePad) && uikit::UINib::hasNibNamed(kPagePhone))
        return;
    uikit::UINib::registerNib(kControllerPad, makePadController);
    uikit::UINib::registerNib(kControllerPhone, makePhoneController);
    uikit::UINib::registerNib(kPagePad, [](const foundation::ObjectPtr&) {
        return makePages({{600, 695}, 20, 30, 22, 360});
    });
    uikit::UINib::registerNib(kPagePhone, [](const foundation::ObjectPtr&) {
        return makePages({{300, 440}, 10, 24, 17, 200});
    });
}
