#include "app/QVAStartTutorialViewController.h"

#include <cmath>
#include <utility>

#include "app/StartTutorialNib.h"
#include "foundation/Bundle.h"
#include "foundation/Format.h"
#include "foundation/StringUtils.h"
#include "graphics/GradientLayer.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBlurEffect.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIProgressView.h"
#include "uikit/UIVisualEffectView.h"

namespace {

constexpr const char* kBackgroundImageName = "start_tutorial_background";
constexpr const char* kScreenshotFormat = "start_tutorial_%d";
constexpr const char* kTitleKeyFormat = "START_TUTORIAL_TITLE_%d";
constexpr const char* kTextKeyFormat = "START_TUTORIAL_TEXT_%d";
constexpr const char* kProgressFormat = "Downloading content (%.0f%%)";
constexpr const char* kProgressStartText = "Downloading content ";

constexpr double kParallaxShare = 10;        // the background moves a tenth of the pages
constexpr double kProgressFadeSeconds = 1.5;
constexpr double kPageGlideSeconds = 1.5;
constexpr double kEnterLastPageSeconds = 1.0;
constexpr double kLeaveLastPageSeconds = 0.75;
constexpr double kDotsDistanceFromBottom = 30;
constexpr uikit::UIUserNotificationType kNotificationTypes =
    uikit::UIUserNotificationTypeBadge | uikit::UIUserNotificationTypeSound | uikit::UIUserNotificationTypeAlert;

std::string localized(const char* format, int page) {
    return foundation::Bundle::mainBundle().localizedStringForKey(foundation::Format(format, page), std::string());
}

std::shared_ptr<uikit::UILabel> makePageLabel(const graphics::Rect& frame, const char* font, double size,
                                              std::string text) {
    auto label = std::make_shared<uikit::UILabel>(frame);
    label->setBackgroundColor(uikit::UIColor::clearColor());
    label->setFont(uikit::UIFont::fontWithName(font, size));
    label->setText(std::move(text));
    label->setNumberOfLines(0);
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setTextColor(uikit::UIColor::whiteColor());
    label->setAdjustsFontSizeToFitWidth(true);
    return label;
}

}  // namespace

// The base keeps the nib's name; loadView finds it registered here.
QVAStartTutorialViewController::QVAStartTutorialViewController() : uikit::UIViewController(std::string(kNibName)) {
    StartTutorialNib::registerNib();
}

QVAStartTutorialViewController::~QVAStartTutorialViewController() = default;

uikit::UIViewControllerPtr QVAStartTutorialViewController::pageControllerAt(int page) const {
    if (page < 0 || static_cast<size_t>(page) >= viewControllers_.size()) return nullptr;
    return viewControllers_[static_cast<size_t>(page)];
}

void QVAStartTutorialViewController::viewDidLoad() {
    uikit::UIViewController::viewDidLoad();
    if (auto navigation = navigationController()) navigation->navigationBar()->setHidden(true);
    const auto& root = view();

    scrollView_->setShowsHorizontalScrollIndicator(false);
    scrollView_->setShowsVerticalScrollIndicator(false);
    scrollView_->setScrollsToTop(false);
    scrollView_->setPagingEnabled(true);
    scrollView_->setDelegate(std::dynamic_pointer_cast<QVAStartTutorialViewController>(shared_from_this()));
    scrollView_->setBackgroundColor(uikit::UIColor::clearColor());

    iphoneScrollView_->setBounces(false);
    iphoneScrollView_->setShowsHorizontalScrollIndicator(false);
    iphoneScrollView_->setShowsVerticalScrollIndicator(false);
    iphoneScrollView_->setDelegate(nullptr);
    iphoneScrollView_->setClipsToBounds(true);

    visualEffectView_ = std::make_shared<uikit::UIVisualEffectView>(
        uikit::UIBlurEffect::effectWithStyle(uikit::UIBlurEffectStyle::Dark));
    visualEffectView_->setAlpha(0.6);
    visualEffectView_->setBackgroundColor(uikit::UIColor::colorWithWhite(0, 0.6));
    root->insertSubviewAtIndex(visualEffectView_, 0);

    backgroundImageView_ = std::make_shared<uikit::UIImageView>(uikit::UIImage::imageNamed(kBackgroundImageName));
    backgroundImageView_->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    backgroundImageView_->setAlpha(1);
    root->insertSubviewAtIndex(backgroundImageView_, 0);

    gradientBottom_ = graphics::GradientLayer::layer();
    gradientBottom_->setFrame(root->bounds());
    gradientBottom_->setColors({graphics::Color::black().withAlpha(0.95), graphics::Color::clear()});
    gradientBottom_->setStartPoint({0.5, 1.0});
    gradientBottom_->setEndPoint({0.5, 0.9});
    root->layer()->addSublayer(gradientBottom_);

    pageControl_ = std::make_shared<uikit::UIPageControl>();
    pageControl_->setNumberOfPages(kNumberOfPages);
    pageControl_->setUserInteractionEnabled(false);
    pageControl_->setCurrentPage(0);
    pageControl_->sizeToFit();
    root->addSubview(pageControl_);

    skipButton_ = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
    skipButton_->setTitle(std::string("Skip"), uikit::UIControlStateNormal);
    skipButton_->setTitleColor(uikit::UIColor::whiteColor(), uikit::UIControlStateNormal);
    skipButton_->titleLabel()->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Bold", 14));
    std::weak_ptr<QVAStartTutorialViewController> weakSelf =
        std::dynamic_pointer_cast<QVAStartTutorialViewController>(shared_from_this());
    skipButton_->addTarget(
        [weakSelf](uikit::UIControl& sender) {
            if (auto self = weakSelf.lock()) self->skip(sender.shared_from_this());
        },
        uikit::UIControlEventTouchUpInside);
    skipButton_->setAlpha(0);
    root->addSubview(skipButton_);
    // A host that adds the view without a layout pass (the loading screen)
    // still gets pages, and a scroll before any pass finds its slots.
    loadControllers();

    if (isProgressHiden_) {
        hideProgressBar();
        return;
    }
    const double width = root->frame().size.width;
    progressView_ = std::make_shared<uikit::UIProgressView>(graphics::Rect{30, 10, width - 60, 2});
    progressView_->setProgressTintColor(uikit::UIColor::whiteColor());
    progressView_->setTrackTintColor(uikit::UIColor::whiteColor().colorWithAlphaComponent(0.3));
    progressView_->setProgress(0);
    root->addSubview(progressView_);

    progressLabel_ = std::make_shared<uikit::UILabel>(graphics::Rect{30, 15, width - 60, 15});
    progressLabel_->setTextColor(uikit::UIColor::whiteColor());
    progressLabel_->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Light", 11));
    progressLabel_->setTextAlignment(uikit::NSTextAlignment::Center);
    progressLabel_->setText(std::string(kProgressStartText));
    root->addSubview(progressLabel_);
    if (pendingProgress_) progressAt(*std::exchange(pendingProgress_, std::nullopt));
}

void QVAStartTutorialViewController::viewDidLayoutSubviews() {
    uikit::UIViewController::viewDidLayoutSubviews();
    const auto& root = view();
    const graphics::Rect frame = root->frame();
    const double width = frame.size.width;
    const double height = frame.size.height;

    scrollView_->setContentSize({kNumberOfPages * root->bounds().size.width, 0});
    visualEffectView_->setFrame(frame);
    gradientBottom_->setFrame(root->bounds());
    if (progressView_) progressView_->setFrame({30, 10, width - 60, 2});
    if (progressLabel_) progressLabel_->setFrame({30, 15, width - 60, 15});
    skipButton_->setFrame({width - 50, 15, 40, 15});
    const double parallax = scrollView_->contentSize().width / kParallaxShare;
    backgroundImageView_->setFrame({-parallax, 0, width + 2 * parallax, height});
    pageControl_->setCenter({width / 2, height - kDotsDistanceFromBottom});
    loadControllers();
}

void QVAStartTutorialViewController::viewWillAppear(bool animated) {
    uikit::UIViewController::viewWillAppear(animated);
    uikit::UIApplication::sharedApplication().setStatusBarHidden(true, uikit::UIStatusBarAnimation::Slide);
}

void QVAStartTutorialViewController::viewWillDisappear(bool animated) {
    uikit::UIApplication::sharedApplication().setStatusBarHidden(false, uikit::UIStatusBarAnimation::Slide);
    uikit::UIViewController::viewWillDisappear(animated);
}

// Renewing the slots drops the pages of the earlier pass from both pagers,
// so that a pass after a rotation does not pile pages over one another.
void QVAStartTutorialViewController::loadControllers() {
    for (const auto& page : viewControllers_) {
        if (page && page->isViewLoaded()) page->view()->removeFromSuperview();
    }
    for (const auto& screenshot : screenshots_) screenshot->removeFromSuperview();
    screenshots_.clear();
    viewControllers_.assign(kNumberOfPages, nullptr);
    loadScrollViewWithPage(0);
    loadScrollViewWithPage(1);
    loadScrollViewWithPage(kNumberOfPages - 1);
}

void QVAStartTutorialViewController::loadScrollViewWithPage(int page) {
    if (page < 0 || static_cast<size_t>(page) >= viewControllers_.size() || !isViewLoaded()) return;
    auto& slot = viewControllers_[static_cast<size_t>(page)];
    if (slot) return;

    const graphics::Size phone = iphoneScrollView_->frame().size;
    auto screenshot = std::make_shared<uikit::UIImageView>(
        graphics::Rect{page * phone.width, 0, phone.width, phone.height});
    screenshot->setImage(uikit::UIImage::imageNamed(foundation::Format(kScreenshotFormat, page)));
    screenshot->setContentMode(uikit::UIViewContentMode::ScaleToFill);
    iphoneScrollView_->addSubview(screenshot);
    screenshots_.push_back(screenshot);

    auto controller = std::make_shared<uikit::UIViewController>();
    const auto& pageView = controller->view();
    pageView->setBackgroundColor(uikit::UIColor::clearColor());

    const double width = view()->frame().size.width;
    pageView->addSubview(makePageLabel({10, 55, width - 20, 25}, "AvenirNext-Bold", 20,
                                       foundation::StringUtils::uppercase(localized(kTitleKeyFormat, page))));
    auto text = makePageLabel({15, 100, width - 30, 120}, "HelveticaNeue", 14, localized(kTextKeyFormat, page));
    text->sizeToFit();
    pageView->addSubview(text);

    slot = controller;
    const graphics::Size pager = scrollView_->frame().size;
    pageView->setFrame({page * pager.width, 0, pager.width, pager.height});
    scrollView_->addSubview(pageView);
}

void QVAStartTutorialViewController::scrollViewDidScroll(uikit::UIScrollView& scrollView) {
    if (&scrollView != scrollView_.get()) return;
    const double pageWidth = scrollView_->frame().size.width;
    const double x = scrollView_->contentOffset().x;
    const graphics::Size size = view()->frame().size;

    const int page = static_cast<int>(std::floor((x - pageWidth / 2) / pageWidth)) + 1;
    pageControl_->setCurrentPage(page);
    loadScrollViewWithPage(page - 1);
    loadScrollViewWithPage(page);
    loadScrollViewWithPage(page + 1);

    const double delta = x - lastContentOffset_;
    graphics::Rect background = backgroundImageView_->frame();
    background.origin.x -= delta / kParallaxShare;
    backgroundImageView_->setFrame(background);
    lastContentOffset_ = x;

    iphoneScrollView_->setContentOffset({x * iphoneScrollView_->frame().size.width / pageWidth, 0});

    if (delta > 0 && x > (kNumberOfPages - 2) * pageWidth && x > 0) {
        auto dots = pageControl_;
        auto phone = iphoneImageView_;
        auto screenshots = iphoneScrollView_;
        const double height = size.height;
        uikit::UIView::animateWithDuration(kEnterLastPageSeconds, [dots, phone, screenshots, height] {
            dots->setAlpha(0);
            uikit::UIApplication::sharedApplication().registerUserNotificationSettings(kNotificationTypes);
            const auto away = graphics::AffineTransform::makeTranslation(0, -height);
            if (phone) phone->setTransform(away);
            screenshots->setTransform(away);
        });
    } else if (delta < 0 && x < (kNumberOfPages - 1) * pageWidth - size.width / 2 && x > 0) {
        auto dots = pageControl_;
        auto phone = iphoneImageView_;
        auto screenshots = iphoneScrollView_;
        uikit::UIView::animateWithDuration(kLeaveLastPageSeconds, [dots, phone, screenshots] {
            dots->setAlpha(1);
            if (phone) {
                phone->setAlpha(1);
                phone->setTransform(graphics::AffineTransform::identity());
            }
            screenshots->setAlpha(1);
            screenshots->setTransform(graphics::AffineTransform::identity());
        });
    } else if (x <= 0) {
        // Beyond the first page the phone follows the page while it bounces.
        for (const auto& moving : std::vector<uikit::UIViewPtr>{iphoneImageView_, iphoneScrollView_}) {
            if (!moving) continue;
            graphics::Rect frame = moving->frame();
            frame.origin.x -= delta;
            moving->setFrame(frame);
        }
    }
}

void QVAStartTutorialViewController::scrollToPage(int page) {
    if (!isViewLoaded()) return;
    auto pager = scrollView_;
    const double offset = page * pager->frame().size.width;
    uikit::UIView::animateWithDuration(kPageGlideSeconds, 0, uikit::UIViewAnimationOptionCurveEaseOut,
                                       [pager, offset] { pager->setContentOffset({offset, 0}); });
}

void QVAStartTutorialViewController::progressAt(double fraction) {
    if (!isViewLoaded() && !isProgressHiden_) pendingProgress_ = fraction;
    if (!progressView_) return;
    progressView_->setProgress(static_cast<float>(fraction));
    progressLabel_->setText(foundation::Format(kProgressFormat, fraction * 100));
    if (progressView_->progress() != 1) return;
    auto skip = skipButton_;
    auto label = progressLabel_;
    auto bar = progressView_;
    uikit::UIView::animateWithDuration(kProgressFadeSeconds, [skip, label, bar] {
        skip->setAlpha(1);
        label->setAlpha(0);
        bar->setAlpha(0);
    });
}

void QVAStartTutorialViewController::hideProgressBar() {
    isProgressHiden_ = true;
    if (skipButton_) skipButton_->setAlpha(1);
    if (progressLabel_) progressLabel_->setAlpha(0);
    if (progressView_) progressView_->setAlpha(0);
}

void QVAStartTutorialViewController::skip(const foundation::ObjectPtr& sender) {
    (void)sender;
    if (pageControl_ && pageControl_->currentPage() == pageControl_->numberOfPages() - 1) {
        ApplicationSettingsStore::sharedApplicationSettingsStore().setSettingsShowTutorial(false);
        dismissViewControllerAnimated(true);
        return;
    }
    scrollToPage(kNumberOfPages - 1);
}
