#include "app/TutorialViewController.h"

#include <cmath>

#include "Utils/Utils.h"
#include "app/TutorialDelegate.h"
#include "app/TutorialNibs.h"
#include "app/TutorialPage.h"
#include "app/TutorialPageModel.h"
#include "foundation/Bundle.h"
#include "foundation/URL.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPageControl.h"

namespace {

constexpr int32_t kPadPageWidth = 600;
constexpr double kPhonePageMargin = 20;
constexpr double kPadPagerCornerRadius = 10;

}  // namespace

// The base only keeps the nib's name; loadView loads it later, once the
// registration below has run.
TutorialViewController::TutorialViewController() : uikit::UIViewController(nibNameForCurrentIdiom()) {
    TutorialNibs::registerNibs();
}

TutorialViewController::~TutorialViewController() = default;

std::string TutorialViewController::nibNameForCurrentIdiom() {
    return Utils::isIPad() ? TutorialNibs::kControllerPad : TutorialNibs::kControllerPhone;
}

std::string TutorialViewController::tutorialTitle() const { return ""; }

void TutorialViewController::viewDidLoad() {
    uikit::UIViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    if (navigationBar_) navigationBar_->setTintColor(uikit::UIColor::whiteColor());

    initPageWidth();
    if (Utils::isIPad() && tutorialScrollView_) {
        tutorialScrollView_->layer()->setCornerRadius(kPadPagerCornerRadius);
        tutorialScrollView_->layer()->setMasksToBounds(true);
    }

    const std::string title = tutorialTitle();
    if (titleLabel_) titleLabel_->setText(title);
    if (navigationBar_) {
        if (auto item = navigationBar_->topItem()) item->setTitle(title);
    }

    if (tutorialPageControl_) tutorialPageControl_->setNumberOfPages(static_cast<int64_t>(pages_.size()));
    createPages();
    updateContentSize();

    // The dots here always take colours, so the pad never needs the older
    // layout that moved them down.
    if (tutorialPageControl_) {
        tutorialPageControl_->setCurrentPageIndicatorTintColor(uikit::UIColor::blackColor());
        tutorialPageControl_->setPageIndicatorTintColor(uikit::UIColor::lightGrayColor());
    }
}

void TutorialViewController::viewDidLayoutSubviews() {
    uikit::UIViewController::viewDidLayoutSubviews();
    initPageWidth();
    updateContentSize();
}

void TutorialViewController::initPageWidth() {
    if (Utils::isIPad()) {
        pageWidth_ = kPadPageWidth;
        return;
    }
    // Truncated towards zero, as the pager counts whole points.
    pageWidth_ = static_cast<int32_t>(view()->frame().size.width - kPhonePageMargin);
}

void TutorialViewController::updateContentSize() {
    if (!tutorialScrollView_) return;
    tutorialScrollView_->setContentSize(
        {static_cast<double>(pageWidth_) * static_cast<double>(pages_.size()), tutorialScrollView_->frame().size.height});
}

std::string TutorialViewController::addHTMLHeaders(const std::string& fragment) const {
    return "<html><head><title></title></head><body style=\"background:transparent;font-family:HelveticaNeue;"
           "font-size:15px;\"><div style =\"text-align:center;\">" +
           fragment + "</div>" + "</body></html>";
}

void TutorialViewController::createPages() {
    if (!tutorialScrollView_) return;
    const double width = static_cast<double>(pageWidth_);
    const double height = tutorialScrollView_->frame().size.height;
    auto container =
        std::make_shared<uikit::UIView>(graphics::Rect{0, 0, width * static_cast<double>(pages_.size()), height});
    container->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);

    // The pages' texts may name the application's resource files by relative path.
    const auto baseURL = foundation::URL::fileURLWithPath(foundation::Bundle::mainBundle().resourcePath(), true);
    auto self = std::dynamic_pointer_cast<TutorialViewController>(shared_from_this());
    const bool pad = Utils::isIPad();
    for (size_t i = 0; i < pages_.size(); ++i) {
        const auto& model = pages_[i];
        auto page = TutorialPage::initTutorialPage(model);
        if (!page) continue;
        if (page->titleLabel()) page->titleLabel()->setText(model ? model->title() : std::nullopt);
        if (const auto& web = page->textWebView()) {
            web->setDelegate(self);
            web->loadHTMLString(addHTMLHeaders(model && model->text() ? *model->text() : std::string()), baseURL);
        }
        if (page->tutorialImage() && model)
            page->tutorialImage()->setImage(pad ? model->ipadImage() : model->iphoneImage());
        page->setFrame({width * static_cast<double>(i), 0, width, height});
        container->addSubview(page);
    }
    tutorialScrollView_->addSubview(container);
}

void TutorialViewController::refreshPages() {
    if (!tutorialScrollView_) return;
    const auto subviews = tutorialScrollView_->subviews();
    for (const auto& subview : subviews) subview->removeFromSuperview();
    createPages();
}

void TutorialViewController::scrollViewDidScroll(uikit::UIScrollView& scrollView) {
    if (!tutorialPageControl_ || pageWidth_ <= 0) return;
    const double position = scrollView.contentOffset().x / static_cast<double>(pageWidth_);
    tutorialPageControl_->setCurrentPage(static_cast<int64_t>(std::lround(position)));
}

void TutorialViewController::pageControlValueChanged(const foundation::ObjectPtr& sender) {
    (void)sender;
    if (!tutorialScrollView_ || !tutorialPageControl_) return;
    const double x = static_cast<double>(pageWidth_) * static_cast<double>(tutorialPageControl_->currentPage());
    tutorialScrollView_->setContentOffset({x, tutorialScrollView_->contentOffset().y}, true);
}

void TutorialViewController::closeButtonPressed(const foundation::ObjectPtr& sender) {
    (void)sender;
    onClosedButtonPressed();
}

void TutorialViewController::stopLoadingWebviewRequests() {
    if (!tutorialScrollView_ || tutorialScrollView_->subviews().empty()) return;
    const auto pages = tutorialScrollView_->subviews().front()->subviews();
    for (const auto& view : pages) {
        auto page = std::dynamic_pointer_cast<TutorialPage>(view);
        if (!page || !page->textWebView()) continue;
        page->textWebView()->stopLoading();
        page->textWebView()->setDelegate(nullptr);
        page->setTextWebView(nullptr);
    }
}

void TutorialViewController::onClosedButtonPressed() {
    stopLoadingWebviewRequests();
    if (!Utils::isIPad()) {
        dismissViewControllerAnimated(true);
        return;
    }
    if (auto delegate = tutorialDelegate()) delegate->tutorialClosed();
}

uikit::UIInterfaceOrientationMask TutorialViewController::supportedInterfaceOrientations() const {
    return Utils::isIPad() ? uikit::UIInterfaceOrientationMaskAllButUpsideDown
                           : uikit::UIInterfaceOrientationMaskPortrait;
}

bool TutorialViewController::shouldAutorotate() const { return Utils::isIPad(); }
